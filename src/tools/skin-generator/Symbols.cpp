#include "Symbols.h"

#include <QPainterPathStroker>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

QPainterPath polygonPath(const QPolygonF& points)
{
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    return path;
}

QPainterPath triangle(qreal left, qreal width, qreal top, qreal height, Direction direction)
{
    const qreal right = left + width;
    const qreal middle = top + height / 2;
    if (direction == Direction::Forward)
        return polygonPath({QPointF(left, top), QPointF(right, middle), QPointF(left, top + height)});
    return polygonPath({QPointF(right, top), QPointF(left, middle), QPointF(right, top + height)});
}

QPainterPath stroked(const QPainterPath& line, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line);
}

} // namespace

QPainterPath playSymbol(QPointF centre, qreal size)
{
    const qreal width = size * 0.88;
    // a triangle looks centred when its box sits a little right of the middle
    return triangle(centre.x() - width / 2 + size * 0.08, width, centre.y() - size / 2, size, Direction::Forward);
}

QPainterPath pauseSymbol(QPointF centre, qreal size)
{
    const qreal bar = size * 0.32;
    const qreal gap = size * 0.26;
    QPainterPath path;
    path.addRoundedRect(QRectF(centre.x() - gap / 2 - bar, centre.y() - size / 2, bar, size), 1, 1);
    path.addRoundedRect(QRectF(centre.x() + gap / 2, centre.y() - size / 2, bar, size), 1, 1);
    return path;
}

QPainterPath stopSymbol(QPointF centre, qreal size)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(centre.x() - size / 2, centre.y() - size / 2, size, size), 1.2, 1.2);
    return path;
}

QPainterPath stepSymbol(QPointF centre, qreal size, Direction direction, int triangles, bool bar)
{
    const qreal triangleWidth = size * (triangles > 1 ? 0.62 : 0.8);
    const qreal barWidth = bar ? size * 0.2 : 0;
    const qreal total = triangles * triangleWidth + barWidth;
    const qreal top = centre.y() - size / 2;
    qreal x = centre.x() - total / 2;
    QPainterPath path;
    if (bar && direction == Direction::Backward) {
        path.addRect(QRectF(x, top, barWidth, size));
        x += barWidth;
    }
    for (int i = 0; i < triangles; ++i) {
        path = path.united(triangle(x, triangleWidth, top, size, direction));
        x += triangleWidth;
    }
    if (bar && direction == Direction::Forward)
        path.addRect(QRectF(x, top, barWidth, size));
    path.setFillRule(Qt::WindingFill);
    return path;
}

QPainterPath calendarSymbol(QPointF centre, qreal size, Direction direction)
{
    const qreal width = size;
    const qreal height = size * 0.9;
    const QRectF outer(centre.x() - width / 2, centre.y() - height / 2 + 1, width, height);
    QPainterPath leaf;
    leaf.addRoundedRect(outer, 2, 2);
    QPainterPath inside;
    const qreal line = 1.5;
    const qreal band = height * 0.26;
    inside.addRect(outer.adjusted(line, band, -line, -line));
    QPainterPath path = leaf.subtracted(inside);

    // binder rings above the band
    for (qreal ring : {0.28, 0.72}) {
        QPainterPath tab;
        tab.addRoundedRect(QRectF(outer.left() + width * ring - 1, outer.top() - 2, 2, 4), 1, 1);
        path = path.united(tab);
    }
    const qreal arrowHeight = (height - band) * 0.62;
    const qreal arrowWidth = arrowHeight * 0.78;
    const QPointF arrowCentre(outer.center().x(), outer.top() + band + (height - band - line) / 2);
    path = path.united(triangle(arrowCentre.x() - arrowWidth / 2, arrowWidth, arrowCentre.y() - arrowHeight / 2,
                                arrowHeight, direction));
    return path;
}

QPainterPath folderSymbol(const QRectF& box)
{
    const qreal tabWidth = box.width() * 0.42;
    const qreal tabHeight = box.height() * 0.2;
    QPainterPath back;
    back.addRoundedRect(QRectF(box.left(), box.top() + tabHeight, box.width(), box.height() - tabHeight), 1.5, 1.5);
    QPainterPath tab = polygonPath({QPointF(box.left(), box.top() + tabHeight + 1), QPointF(box.left(), box.top() + 1),
                                    QPointF(box.left() + 1, box.top()), QPointF(box.left() + tabWidth - 2, box.top()),
                                    QPointF(box.left() + tabWidth, box.top() + tabHeight),
                                    QPointF(box.left(), box.top() + tabHeight)});
    QPainterPath body = back.united(tab);
    // the open front flap, cut out by a thin seam
    const qreal flapTop = box.top() + box.height() * 0.42;
    QPainterPath seam = polygonPath({QPointF(box.left() - 1, flapTop - 1.2), QPointF(box.right() + 1, flapTop - 1.2),
                                     QPointF(box.right() + 1, flapTop), QPointF(box.left() - 1, flapTop)});
    return body.subtracted(seam);
}

QPainterPath speakerSymbol(const QRectF& box)
{
    const qreal h = box.height();
    const qreal top = box.top();
    const qreal left = box.left();
    QPainterPath path = polygonPath({QPointF(left, top + h * 0.34), QPointF(left + h * 0.26, top + h * 0.34),
                                     QPointF(left + h * 0.58, top + h * 0.04), QPointF(left + h * 0.58, top + h * 0.96),
                                     QPointF(left + h * 0.26, top + h * 0.66), QPointF(left, top + h * 0.66)});
    const QPointF mouth(left + h * 0.5, top + h / 2);
    for (qreal radius : {h * 0.36, h * 0.62}) {
        QPainterPath arc;
        const QRectF circle(mouth.x() - radius, mouth.y() - radius, radius * 2, radius * 2);
        arc.arcMoveTo(circle, 42);
        arc.arcTo(circle, 42, -84);
        path = path.united(stroked(arc, 1.5));
    }
    return path;
}

QPainterPath sunSymbol(const QRectF& box)
{
    const QPointF centre = box.center();
    const qreal reach = std::min(box.width(), box.height()) / 2;
    QPainterPath path;
    path.addEllipse(centre, reach * 0.42, reach * 0.42);
    for (int ray = 0; ray < 8; ++ray) {
        const qreal angle = ray * M_PI / 4;
        const QPointF direction(std::cos(angle), std::sin(angle));
        QPainterPath line;
        line.moveTo(centre + direction * reach * 0.66);
        line.lineTo(centre + direction * reach * 0.92);
        path = path.united(stroked(line, 1.5));
    }
    return path;
}
