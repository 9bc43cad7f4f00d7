#include "Art.h"

#include "Palette.h"
#include "SkinBook.h"
#include "SkinPaint.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

// The position bar is 30 high. Its thumb covers rows 0..15 and the event
// marks are copied from row 11 down, so the groove runs through rows 5..10
// and everything below it is the same plain channel in every picture: a mark
// then sits on the played part and on the rest alike.
constexpr int kTrackWidth = 526;
constexpr int kTrackHeight = 30;
constexpr int kMarkTop = 11;
const QRectF kGroove(4, 5, kTrackWidth - 8, 6);

// The channel floor at row y of the bar, the same in every column.
QColor channelAt(int y)
{
    const qreal t = qBound(0.0, y / qreal(kTrackHeight - 1), 1.0);
    const QColor top(0x0d, 0x0f, 0x11);
    const QColor bottom(0x17, 0x1a, 0x1d);
    return QColor::fromRgbF(top.redF() + (bottom.redF() - top.redF()) * t,
                            top.greenF() + (bottom.greenF() - top.greenF()) * t,
                            top.blueF() + (bottom.blueF() - top.blueF()) * t);
}

// A picture of the channel, its row 0 being row firstRow of the bar.
QImage channel(int width, int height, int firstRow)
{
    QImage picture = newPicture(width, height, palette::channel);
    for (int y = 0; y < height; ++y) {
        const QRgb colour = channelAt(firstRow + y).rgb();
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        std::fill(row, row + width, colour);
    }
    return picture;
}

QImage track(bool played)
{
    QImage picture = channel(kTrackWidth, kTrackHeight, 0);
    QPainter painter(&picture);
    prepare(painter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2a, 0x2f, 0x35));
    painter.drawRoundedRect(kGroove.adjusted(0, 0, 0, 0.6), 3, 3);
    painter.setBrush(palette::seam);
    painter.drawRoundedRect(kGroove.adjusted(0, 0, 0, -0.4), 3, 3);
    QLinearGradient floor(0, kGroove.top(), 0, kGroove.bottom());
    if (played) {
        floor.setColorAt(0, palette::accent.lighter(125));
        floor.setColorAt(0.5, palette::accent);
        floor.setColorAt(1, palette::accentDeep);
    } else {
        floor.setColorAt(0, QColor(0x1a, 0x1d, 0x21));
        floor.setColorAt(1, QColor(0x30, 0x35, 0x3b));
    }
    painter.setBrush(floor);
    painter.drawRoundedRect(kGroove.adjusted(1, 1, -1, -1), 2, 2);
    return picture;
}

QImage thumb()
{
    QImage picture = channel(24, 16, 0);
    QPainter painter(&picture);
    prepare(painter);
    const QRectF knob(0.5, 0.5, 23, 15);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::faceRim);
    painter.drawRoundedRect(knob, 4, 4);
    QLinearGradient metal(0, knob.top(), 0, knob.bottom());
    metal.setColorAt(0, QColor(0xd4, 0xd9, 0xdf));
    metal.setColorAt(0.5, QColor(0xa0, 0xa7, 0xb0));
    metal.setColorAt(1, QColor(0x6a, 0x71, 0x7a));
    painter.setBrush(metal);
    painter.drawRoundedRect(knob.adjusted(1, 1, -1, -1), 3, 3);
    // grip lines either side of the accent index
    painter.setBrush(QColor(0x55, 0x5c, 0x64));
    for (qreal x : {6.0, 8.0, 15.0, 17.0})
        painter.drawRect(QRectF(x, 5, 1, 6));
    painter.setBrush(palette::accentDeep);
    painter.drawRect(QRectF(11, 3, 2, 10));
    painter.setBrush(palette::accent);
    painter.drawRect(QRectF(11, 3, 2, 9));
    return picture;
}

// An upward pointer under the groove and a badge with an exclamation mark.
// The bar draws a mark 5 pixels right of the thumb's left edge at that frame,
// so the mark is centred on x = 7 of its picture to sit under the thumb's
// centre (12 pixels right of its edge).
QImage eventMark()
{
    QImage picture = channel(18, 20, kMarkTop);
    QPainter painter(&picture);
    prepare(painter);
    const qreal centre = 7;
    QPainterPath pointer;
    pointer.moveTo(centre, 0.5);
    pointer.lineTo(centre + 4.5, 6);
    pointer.lineTo(centre - 4.5, 6);
    pointer.closeSubpath();
    const QRectF badge(centre - 6, 5.5, 12, 12);
    QPainterPath mark = pointer;
    mark.addRoundedRect(badge, 3, 3);
    mark = mark.simplified();

    painter.setPen(QPen(palette::eventDeep.darker(150), 1));
    QLinearGradient fill(0, 0, 0, badge.bottom());
    fill.setColorAt(0, palette::event.lighter(115));
    fill.setColorAt(1, palette::eventDeep);
    painter.setBrush(fill);
    painter.drawPath(mark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(centre - 1, badge.top() + 2.5, 2, 4.5), 0.8, 0.8);
    painter.drawEllipse(QRectF(centre - 1.1, badge.top() + 8, 2.2, 2.2));
    return picture;
}

} // namespace

void drawPositionSlider(SkinBook& book)
{
    book.add(10027, track(false));
    book.add(295, track(true));
    book.add(10031, thumb());
    book.add(10030, eventMark());
}
