#pragma once

#include <QUrl>
#include <functional>

// Hands an address to the desktop (a browser for web pages and the help
// page). Tests install their own opener so that nothing is launched.
using UrlOpener = std::function<bool(const QUrl& url)>;

// Returns the previous opener; an empty one restores the desktop's.
UrlOpener setUrlOpener(UrlOpener opener);

// True when the desktop took the address.
bool openUrl(const QUrl& url);
