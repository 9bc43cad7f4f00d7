#pragma once

#include <QImage>

class SkinBook;

// Pictures for looking at the skin, never shipped: every picture enlarged on
// one sheet, and the main window put together from them the way the viewer
// lays it out, idle (start logo, dashes) and playing.
QImage contactSheet(const SkinBook& book);
QImage mainWindowMock(const SkinBook& book, bool playing);
