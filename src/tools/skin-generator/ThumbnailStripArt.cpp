#include "Art.h"

#include "ButtonStates.h"
#include "Palette.h"
#include "SkinBook.h"
#include "SkinPaint.h"
#include "Symbols.h"

#include <QPainter>

namespace {

// The strip is laid out for a list 90 high at y = 2, so it is 94 high; its
// buttons are 30 x 30 at y = 31, the right pair 36 and 69 pixels from the
// right edge and the left pair mirrored at 6 and 39.
constexpr int kHeight = 94;
constexpr int kSampleWidth = 700;

QImage strip()
{
    QImage picture = newPicture(kSampleWidth, kHeight, palette::surfaceBottom);
    QPainter painter(&picture);
    prepare(painter);
    fillSurface(painter, QRectF(0, 0, kSampleWidth, kHeight), 0, kHeight);
    painter.fillRect(QRect(0, 0, kSampleWidth, 1), palette::seam);
    painter.fillRect(QRect(0, 1, kSampleWidth, 1), palette::highlight);
    drawWell(painter, QRectF(3.5, 28.5, 69, 36), 6);
    drawWell(painter, QRectF(kSampleWidth - 72.5, 28.5, 69, 36), 6);
    return picture;
}

FacePainter stepButton(Direction direction, int triangles, bool bar)
{
    return [=](QPainter& painter, const QRectF& face, ButtonState state) {
        drawSquareFace(painter, face, 5, state);
        drawGlyph(painter, stepSymbol(face.center(), 10, direction, triangles, bar), state);
    };
}

} // namespace

void drawThumbnailStrip(SkinBook& book)
{
    const QImage background = strip();
    book.add(426, background.copy(0, 0, 80, kHeight));
    book.add(427, background.copy(300, 0, 20, kHeight));
    book.add(428, background.copy(kSampleWidth - 80, 0, 80, kHeight));

    drawButtonStates(book, background, QRect(6, 31, 30, 30), {442, 443, 444},
                     stepButton(Direction::Backward, 2, true));
    drawButtonStates(book, background, QRect(39, 31, 30, 30), {436, 437, 438},
                     stepButton(Direction::Backward, 1, false));
    drawButtonStates(book, background, QRect(kSampleWidth - 69, 31, 30, 30), {433, 434, 435},
                     stepButton(Direction::Forward, 1, false));
    drawButtonStates(book, background, QRect(kSampleWidth - 36, 31, 30, 30), {439, 440, 441},
                     stepButton(Direction::Forward, 2, true));
}
