#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

// The button and panel symbols as filled outlines, so every state of a
// button fills the same shape in its own colour.

enum class Direction { Backward, Forward };

// Transport symbols centred on a point; size is the symbol's height.
QPainterPath playSymbol(QPointF centre, qreal size);
QPainterPath pauseSymbol(QPointF centre, qreal size);
QPainterPath stopSymbol(QPointF centre, qreal size);

// One or two triangles, optionally against a bar: step, skip to the end.
QPainterPath stepSymbol(QPointF centre, qreal size, Direction direction, int triangles, bool bar);

// A calendar leaf with an arrowhead inside: to the previous or next date.
QPainterPath calendarSymbol(QPointF centre, qreal size, Direction direction);

QPainterPath folderSymbol(const QRectF& box);
QPainterPath speakerSymbol(const QRectF& box);
QPainterPath sunSymbol(const QRectF& box);
