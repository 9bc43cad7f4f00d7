#pragma once

#include "SkinPaint.h"

#include <QImage>
#include <QRect>

#include <functional>

class QPainter;
class SkinBook;

struct ButtonIds {
    int normal;
    int pressed;
    int disabled;
};

// Paints one state of a button onto its face rectangle.
using FacePainter = std::function<void(QPainter& painter, const QRectF& face, ButtonState state)>;

// Draws a button's three pictures, each over the part of the panel it covers
// (ground cut at place), so rounded corners blend into the panel.
void drawButtonStates(SkinBook& book, const QImage& ground, const QRect& place, ButtonIds ids,
                      const FacePainter& paint);
