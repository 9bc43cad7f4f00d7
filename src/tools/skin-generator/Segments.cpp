#include "Segments.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <array>

int segmentsOf(QChar figure)
{
    static constexpr std::array<int, 10> digits = {
        0b0111111, 0b0000110, 0b1011011, 0b1001111, 0b1100110,
        0b1101101, 0b1111101, 0b0000111, 0b1111111, 0b1101111,
    };
    if (figure.isDigit())
        return digits[static_cast<std::size_t>(figure.digitValue())];
    if (figure == QLatin1Char('-'))
        return 0b1000000;
    return 0;
}

namespace {

// A segment along the line from one end to the other, with pointed ends.
QPolygonF segment(QPointF from, QPointF to, qreal thickness, qreal gap)
{
    const QLineF axis(from, to);
    const QPointF along = (to - from) / axis.length();
    const QPointF across(-along.y(), along.x());
    const qreal half = thickness / 2;
    const QPointF start = from + along * gap;
    const QPointF end = to - along * gap;
    return QPolygonF({start, start + along * half + across * half, end - along * half + across * half, end,
                      end - along * half - across * half, start + along * half - across * half});
}

std::array<QPolygonF, 7> segmentShapes(const QRectF& box, const SegmentLook& look)
{
    const qreal half = look.thickness / 2;
    const qreal left = box.left() + half;
    const qreal right = box.right() - half;
    const qreal top = box.top() + half;
    const qreal bottom = box.bottom() - half;
    const qreal middle = box.center().y();
    const qreal t = look.thickness;
    const qreal g = look.gap;
    return {
        segment({left, top}, {right, top}, t, g),
        segment({right, top}, {right, middle}, t, g),
        segment({right, middle}, {right, bottom}, t, g),
        segment({left, bottom}, {right, bottom}, t, g),
        segment({left, middle}, {left, bottom}, t, g),
        segment({left, top}, {left, middle}, t, g),
        segment({left, middle}, {right, middle}, t, g),
    };
}

} // namespace

void drawSegments(QPainter& painter, const QRectF& box, int lit, const SegmentLook& look)
{
    const auto shapes = segmentShapes(box, look);
    painter.save();
    painter.setPen(Qt::NoPen);
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        if (lit & (1 << i))
            continue;
        painter.setBrush(look.unlit);
        painter.drawPolygon(shapes[i]);
    }
    if (look.glow > 0) {
        QColor halo = look.lit;
        halo.setAlpha(46);
        painter.setPen(QPen(halo, look.glow, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(halo);
        for (std::size_t i = 0; i < shapes.size(); ++i)
            if (lit & (1 << i))
                painter.drawPolygon(shapes[i]);
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(look.lit);
    for (std::size_t i = 0; i < shapes.size(); ++i)
        if (lit & (1 << i))
            painter.drawPolygon(shapes[i]);
    painter.restore();
}
