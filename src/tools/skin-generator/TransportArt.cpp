#include "Art.h"

#include "ButtonStates.h"
#include "Palette.h"
#include "SkinBook.h"
#include "SkinPaint.h"
#include "Symbols.h"

#include <QPainter>

namespace {

constexpr int kHeight = 65;
constexpr int kSampleWidth = 1000;    // any width wider than both ends
constexpr int kBarRightMargin = 95;   // the position bar spans 249 .. width - 95

// Shared by the enabled look and the disabled one: surface, the wells behind
// the button groups with their captions, and the product name at the right end.
QImage panelSurface()
{
    QImage panel = newPicture(kSampleWidth, kHeight, palette::surfaceBottom);
    QPainter painter(&panel);
    prepare(painter);
    fillSurface(painter, QRectF(0, 0, kSampleWidth, kHeight), 0, kHeight);
    painter.fillRect(QRect(0, 0, kSampleWidth, 1), palette::seam);
    painter.fillRect(QRect(0, 1, kSampleWidth, 1), palette::highlight);
    painter.fillRect(QRect(0, kHeight - 1, kSampleWidth, 1), palette::seam);

    drawWell(painter, QRectF(19.5, 7.5, 85, 47), 23.5);   // play and stop
    drawWell(painter, QRectF(103.5, 13.5, 70, 37), 6);    // previous and next date
    drawWell(painter, QRectF(195.5, 18.5, 50, 29), 5);    // previous and next file

    const QFont caption = japaneseFont(10);
    drawEngraved(painter, QRectF(103, 51, 71, 13), QStringLiteral("日付"), caption, palette::inkDim, Qt::AlignCenter);
    drawEngraved(painter, QRectF(195, 49, 51, 13), QStringLiteral("ファイル"), caption, palette::inkDim,
                 Qt::AlignCenter);

    drawEngraved(painter, QRectF(kSampleWidth - 74, 33, 64, 16), QStringLiteral("KVR-M48C"), latinFont(10, true),
                 QColor(0x6c, 0x74, 0x7d), Qt::AlignRight | Qt::AlignVCenter);
    return panel;
}

QImage enabledPanel()
{
    QImage panel = panelSurface();
    QPainter painter(&panel);
    prepare(painter);
    drawInset(painter, QRectF(249, 26, kSampleWidth - 249 - kBarRightMargin, 30), 2, palette::channel);
    return panel;
}

} // namespace

void drawTransportPanel(SkinBook& book)
{
    const QImage panel = enabledPanel();
    const QImage plain = panelSurface();

    book.add(223, panel.copy(0, 0, 250, kHeight));
    book.add(221, panel.copy(500, 0, 20, kHeight));
    book.add(222, panel.copy(kSampleWidth - 400, 0, 400, kHeight));
    book.add(424, plain.copy(500, 0, 20, kHeight));
    book.add(425, plain.copy(kSampleWidth - 74, 0, 74, kHeight));

    const QRect playPlace(23, 11, 40, 40);
    drawButtonStates(book, panel, playPlace, {10015, 10016, 10017},
                     [](QPainter& painter, const QRectF& face, ButtonState state) {
                         drawRoundFace(painter, face, state, false);
                         drawGlyph(painter, playSymbol(face.center(), 15), state);
                     });
    // shown while playing: the ring lights in the accent colour
    drawButtonStates(book, panel, playPlace, {10034, 10035, 10033},
                     [](QPainter& painter, const QRectF& face, ButtonState state) {
                         drawRoundFace(painter, face, state, true);
                         drawGlyph(painter, pauseSymbol(face.center(), 14), state);
                     });
    drawButtonStates(book, panel, QRect(67, 18, 26, 26), {10018, 10019, 10020},
                     [](QPainter& painter, const QRectF& face, ButtonState state) {
                         drawRoundFace(painter, face, state, false);
                         drawGlyph(painter, stopSymbol(face.center(), 8), state);
                     });

    const auto dateButton = [](Direction direction) {
        return [direction](QPainter& painter, const QRectF& face, ButtonState state) {
            drawSquareFace(painter, face, 5, state);
            drawGlyph(painter, calendarSymbol(face.center(), 15, direction), state);
        };
    };
    drawButtonStates(book, panel, QRect(107, 17, 30, 30), {10009, 10010, 10011}, dateButton(Direction::Backward));
    drawButtonStates(book, panel, QRect(140, 17, 30, 30), {10012, 10013, 10014}, dateButton(Direction::Forward));

    const auto fileButton = [](Direction direction) {
        return [direction](QPainter& painter, const QRectF& face, ButtonState state) {
            drawSquareFace(painter, face, 4, state);
            drawGlyph(painter, stepSymbol(face.center(), 9, direction, 1, true), state);
        };
    };
    drawButtonStates(book, panel, QRect(198, 22, 22, 22), {10003, 10004, 10005}, fileButton(Direction::Backward));
    drawButtonStates(book, panel, QRect(220, 22, 22, 22), {10006, 10007, 10008}, fileButton(Direction::Forward));
}
