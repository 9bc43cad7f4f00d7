#include "Art.h"

#include "Palette.h"
#include "SkinBook.h"
#include "SkinPaint.h"

#include <QPainter>

namespace {

// A surface whose columns are each one colour, for pictures the viewer
// repeats or stretches vertically: light left edge, dark right edge.
void fillColumnSurface(QPainter& painter, const QRect& area)
{
    painter.fillRect(area, palette::surfaceFlat);
    painter.fillRect(QRect(area.left(), area.top(), 1, area.height()), palette::highlight.darker(115));
    painter.fillRect(QRect(area.right(), area.top(), 1, area.height()), palette::seam);
}

// The gap of the right column, between the information panel and the
// picture and sound panel: a recessed bay with vertical vents. Drawn in one
// piece, then cut into top cap, tile and bottom cap; the tile's rows are
// all alike so any number of them, cut anywhere, join without a seam.
void drawRightColumn(SkinBook& book)
{
    constexpr int width = 209;
    constexpr int cap = 20;
    constexpr int tile = 120;
    QImage column = newPicture(width, cap + tile + cap, palette::surfaceFlat);
    QPainter painter(&column);
    prepare(painter);
    fillColumnSurface(painter, column.rect());

    const QRectF bay(12, 9, width - 24, column.height() - 18);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x4a, 0x50, 0x57));
    painter.drawRoundedRect(bay.adjusted(-1, -1, 1, 1), 7, 7);
    painter.setBrush(palette::seam);
    painter.drawRoundedRect(bay.adjusted(-1, -1, 1, 0), 7, 7);
    painter.setBrush(palette::wellTop);
    painter.drawRoundedRect(bay, 6, 6);
    for (int x = 26; x + 3 <= bay.right() - 12; x += 9) {
        const QRectF vent(x, bay.top() + 8, 3, bay.height() - 16);
        painter.setBrush(QColor(0x21, 0x24, 0x28));
        painter.drawRoundedRect(vent.adjusted(0, 0, 0, 1), 2, 2);
        painter.setBrush(QColor(0x0c, 0x0d, 0x0f));
        painter.drawRoundedRect(vent, 2, 2);
    }
    painter.end();

    book.add(218, column.copy(0, 0, width, cap));
    book.add(219, column.copy(0, cap, width, tile));
    book.add(220, column.copy(0, cap + tile, width, cap));
}

// Beside the video area, stretched to its height.
void drawLeftEdge(SkinBook& book)
{
    QImage strip = newPicture(21, 480, palette::surfaceFlat);
    QPainter painter(&strip);
    fillColumnSurface(painter, strip.rect());
    painter.fillRect(QRect(9, 0, 1, 480), palette::seam);
    painter.fillRect(QRect(10, 0, 1, 480), palette::wellTop);
    painter.fillRect(QRect(11, 0, 1, 480), QColor(0x4a, 0x50, 0x57));
    painter.fillRect(QRect(19, 0, 2, 480), palette::seam);
    book.add(284, strip);
}

} // namespace

void drawWindowEdges(SkinBook& book)
{
    drawRightColumn(book);
    drawLeftEdge(book);
}

void drawChartFrame(SkinBook& book)
{
    // The chart copies its plot onto (20, 7) with a size of (width - 45) x
    // (height - 18); the frame is drawn around that window at a sample width
    // and cut into the two ends and one plain middle column run.
    constexpr int width = 400;
    constexpr int height = 90;
    QImage frame = newPicture(width, height, palette::surfaceBottom);
    QPainter painter(&frame);
    prepare(painter);
    fillSurface(painter, QRectF(0, 0, width, height), 0, height);
    painter.setPen(palette::highlight);
    painter.drawLine(QPointF(0, 0.5), QPointF(width, 0.5));

    const QRectF plot(20, 7, width - 45, height - 18);
    drawInset(painter, plot, 2, palette::screen);

    // scale beside the plot: 2 G at its top, 0 G at its bottom
    const QFont scale = latinFont(8, true);
    const struct { const char* text; qreal y; } marks[] = {{"2G", 20}, {"1G", 40.5}, {"0G", 61}};
    for (const auto& mark : marks)
        drawEngraved(painter, QRectF(0, mark.y - 6, 17, 12), QString::fromLatin1(mark.text), scale, palette::inkDim,
                     Qt::AlignRight | Qt::AlignVCenter);
    painter.end();

    book.add(359, frame.copy(0, 0, 40, height));
    book.add(360, frame.copy(180, 0, 20, height));
    book.add(361, frame.copy(width - 40, 0, 40, height));
}
