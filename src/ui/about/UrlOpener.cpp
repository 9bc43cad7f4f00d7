#include "ui/about/UrlOpener.h"

#include <QDesktopServices>
#include <utility>

namespace {
UrlOpener& installedOpener() // UI thread only
{
    static UrlOpener opener;
    return opener;
}
} // namespace

UrlOpener setUrlOpener(UrlOpener opener)
{
    return std::exchange(installedOpener(), std::move(opener));
}

bool openUrl(const QUrl& url)
{
    const UrlOpener& opener = installedOpener();
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}
