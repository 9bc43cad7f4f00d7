#include "Preview.h"

#include "SkinBook.h"
#include "SkinPaint.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The viewer copies pictures stretched by nearest neighbour.
void drawStretched(QPainter& painter, const QImage& picture, const QRect& target, const QRect& source)
{
    painter.drawImage(target, picture, source);
}

void drawAt(QPainter& painter, const QImage& picture, int x, int y)
{
    painter.drawImage(x, y, picture);
}

// A piece cut from the bottom rows of a picture, as a bottom-up copy does.
QRect bottomRows(const QImage& picture, int width, int rows)
{
    return QRect(0, picture.height() - rows, width, rows);
}

void drawGlyphs(QPainter& painter, const SkinBook& book, const QString& text, bool large, int x, int y)
{
    for (QChar c : text) {
        int id = 0;
        if (c.isDigit())
            id = (large ? 251 : 225) + c.digitValue();
        else if (c == QLatin1Char('-'))
            id = large ? 250 : 235;
        else if (c == QLatin1Char('/') && !large)
            id = 224;
        else if (c == QLatin1Char(':') && large)
            id = 261;
        if (!id)
            continue;
        drawAt(painter, book.picture(id), x, y);
        x += book.picture(id).width();
    }
}

struct Slider {
    int minimum;
    int maximum;
    int value;
    int width;
    int thumbWidth;
    int pixel(int v) const
    {
        return maximum == minimum ? 0 : (v - minimum) * (width - thumbWidth) / (maximum - minimum);
    }
};

void drawPositionBar(QPainter& painter, const SkinBook& book, QPoint at, const Slider& bar,
                     const std::vector<int>& marks)
{
    const QImage& track = book.picture(10027);
    const QImage& filled = book.picture(295);
    const QImage& thumb = book.picture(10031);
    const int half = thumb.width() / 2;
    const int tw = track.width();
    const int th = track.height();
    const int thumbX = bar.pixel(bar.value);
    painter.save();
    painter.translate(at);
    drawStretched(painter, filled, QRect(0, 0, half, th), QRect(0, 0, half, th));
    drawStretched(painter, filled, QRect(half, 0, thumbX, th), QRect(half, 0, tw - 2 * half, th));
    drawStretched(painter, track, QRect(bar.width - half, 0, half, th), QRect(tw - half, 0, half, th));
    drawStretched(painter, track, QRect(thumbX + half, 0, bar.width - half - thumbX - half, th),
                  QRect(half, 0, tw - 2 * half, th));
    const QImage& mark = book.picture(10030);
    painter.setClipRect(QRect(0, 0, bar.width, th));
    for (int m : marks)
        drawAt(painter, mark, bar.pixel(m) + half - mark.width() / 2 + 2, 11);
    drawAt(painter, thumb, thumbX, 0);
    painter.restore();
}

void drawTransport(QPainter& painter, const SkinBook& book, int top, int width, bool playing)
{
    painter.save();
    painter.translate(0, top);
    drawStretched(painter, book.picture(221), QRect(250, 0, width - 650, 65), QRect(0, 0, 20, 65));
    drawAt(painter, book.picture(222), width - 400, 0);
    drawAt(painter, book.picture(223), 0, 0);
    if (playing) {
        drawAt(painter, book.picture(10034), 23, 11);
        drawAt(painter, book.picture(10018), 67, 18);
        drawAt(painter, book.picture(10009), 107, 17);
        drawAt(painter, book.picture(10014), 140, 17);
        drawAt(painter, book.picture(10004), 198, 22);
        drawAt(painter, book.picture(10006), 220, 22);
        drawPositionBar(painter, book, {249, 26}, {0, 1000, 420, width - 344, 24}, {0, 180, 555, 560, 910});
    } else {
        drawAt(painter, book.picture(10017), 23, 11);
        drawAt(painter, book.picture(10020), 67, 18);
        drawAt(painter, book.picture(10011), 107, 17);
        drawAt(painter, book.picture(10014), 140, 17);
        drawAt(painter, book.picture(10005), 198, 22);
        drawAt(painter, book.picture(10008), 220, 22);
        drawPositionBar(painter, book, {249, 26}, {0, 0, 0, width - 344, 24}, {});
    }
    painter.restore();
}

void drawChart(QPainter& painter, const SkinBook& book, int top, int width, bool playing)
{
    painter.save();
    painter.translate(0, top);
    drawStretched(painter, book.picture(360), QRect(40, 0, width - 80, 90), QRect(0, 0, 20, 90));
    drawAt(painter, book.picture(361), width - 40, 0);
    drawAt(painter, book.picture(359), 0, 0);
    painter.translate(20, 7);
    const int w = width - 45;
    painter.fillRect(QRect(0, 0, w, 72), Qt::black);
    const int left = 45, topPlot = 13, right = width - 21 - 55, bottom = 54;
    painter.setPen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
    for (int k = 0; k <= 4; ++k)
        painter.drawLine(left, topPlot + k * (bottom - topPlot) / 4, right, topPlot + k * (bottom - topPlot) / 4);
    painter.setPen(Qt::white);
    painter.drawLine(left, topPlot, left, bottom);
    painter.drawLine(left, bottom, right, bottom);
    if (playing) {
        painter.setPen(QPen(QColor(255, 165, 0), 2));
        QPointF last(left, bottom - (bottom - topPlot) / 2);
        for (int x = left; x <= right; x += 3) {
            const double g = 1.0 + 0.08 * std::sin(x * 0.21) + (std::abs(x - 420) < 12 ? 0.7 : 0.0);
            const QPointF next(x, topPlot + (2.0 - g) * (bottom - topPlot) / 2.0);
            painter.drawLine(last, next);
            last = next;
        }
        painter.setPen(QPen(QColor(255, 255, 0), 2));
        const int x = left + (right - left) * 42 / 100;
        painter.drawLine(x, topPlot, x, bottom - 1);
    }
    painter.restore();
}

void drawPictureSoundPanelMock(QPainter& painter, const SkinBook& book, QPoint at)
{
    painter.save();
    painter.translate(at);
    drawAt(painter, book.picture(10024), 0, 0);
    drawAt(painter, book.picture(403), 40, 22);
    drawAt(painter, book.picture(291), 40 + Slider{0, 16, 16, 151, 10}.pixel(16), 22);
    drawAt(painter, book.picture(10001), 40, 56);
    drawAt(painter, book.picture(291), 40 + Slider{1, 50, 12, 151, 10}.pixel(12), 56);
    drawAt(painter, book.picture(290), 14, 22);
    drawAt(painter, book.picture(289), 14, 56);
    drawAt(painter, book.picture(10021), 57, 97);
    painter.restore();
}

} // namespace

QImage contactSheet(const SkinBook& book)
{
    constexpr int scale = 2;
    constexpr int sheetWidth = 1800;
    QImage sheet = newPicture(sheetWidth, 2600, QColor(0x80, 0x80, 0x80));
    QPainter painter(&sheet);
    painter.setFont(latinFont(11, false));
    int x = 10, y = 10, rowHeight = 0;
    for (const PictureSlot& slot : pictureSlots()) {
        const QImage& picture = book.picture(slot.id);
        const QSize size = picture.size() * scale;
        if (x + size.width() + 10 > sheetWidth) {
            x = 10;
            y += rowHeight + 24;
            rowHeight = 0;
        }
        painter.drawImage(QRect(QPoint(x, y), size), picture);
        painter.setPen(Qt::black);
        painter.drawText(x, y + size.height() + 14, QString::number(slot.id));
        x += std::max(size.width(), 40) + 12;
        rowHeight = std::max(rowHeight, size.height());
    }
    painter.end();
    return sheet.copy(0, 0, sheetWidth, std::min(sheet.height(), y + rowHeight + 30));
}

QImage mainWindowMock(const SkinBook& book, bool playing)
{
    constexpr int width = 1000;
    constexpr int height = 700;
    QImage window = newPicture(width, height, QColor(0xf0, 0xf0, 0xf0));
    QPainter painter(&window);
    const int y = height - 90 - 65;
    const int x0 = width - 209;

    // video area
    if (playing) {
        QLinearGradient road(0, 0, 0, y);
        road.setColorAt(0, QColor(0x8a, 0xa8, 0xc4));
        road.setColorAt(0.5, QColor(0x6b, 0x70, 0x74));
        road.setColorAt(1, QColor(0x3a, 0x3c, 0x3e));
        painter.fillRect(QRect(21, 0, width - 230, y), road);
    } else {
        painter.fillRect(QRect(21, 0, width - 230, y), Qt::white);
        drawAt(painter, book.picture(285), 21 + (width - 510) / 2, (y - 73) / 2);
    }

    // right column: information panel, gap, picture and sound panel
    painter.save();
    painter.translate(x0, 0);
    drawAt(painter, book.picture(10026), 0, 0);
    drawGlyphs(painter, book, playing ? QStringLiteral("2010/01/01") : QStringLiteral("----/--/--"), false, 62, 80);
    drawGlyphs(painter, book, playing ? QStringLiteral("12:34:56") : QStringLiteral("--:--:--"), true, 20, 105);
    painter.restore();
    const QImage& top = book.picture(218);
    const QImage& tile = book.picture(219);
    const QImage& bottom = book.picture(220);
    drawAt(painter, top, x0, 180);
    const int end = height - bottom.height() - 295;
    for (int row = 180 + top.height(); row < end;) {
        const int piece = std::min(tile.height(), end - row);
        drawStretched(painter, tile, QRect(x0, row, 209, piece), bottomRows(tile, 209, piece));
        row += piece;
    }
    drawAt(painter, bottom, x0, end);
    drawPictureSoundPanelMock(painter, book, {x0, y - 140});

    drawStretched(painter, book.picture(284), QRect(0, 0, 21, height - 155), QRect(0, 0, 21, 480));
    drawTransport(painter, book, y, width, playing);
    drawChart(painter, book, y + 65, width, playing);
    return window;
}
