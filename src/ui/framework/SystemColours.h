#pragma once

#include "imaging/ResourceImages.h"

#include <QApplication>
#include <QColor>
#include <QPainter>
#include <QPalette>

// The desktop's button-face colour: the fill wherever a skin picture is missing.
inline QColor buttonFaceColour()
{
    return QApplication::palette().color(QPalette::Button);
}

// A panel's background picture at its natural size, or the button-face
// fill over `area` when the picture did not decode.
inline void drawBackgroundOrFill(QPainter& painter, const AlphaImage& background, const QRect& area)
{
    if (background.image())
        background.drawAt(painter, 0, 0);
    else
        painter.fillRect(area, buttonFaceColour());
}
