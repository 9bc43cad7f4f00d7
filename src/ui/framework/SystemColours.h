#pragma once

#include <QApplication>
#include <QColor>
#include <QPalette>

// The desktop's button-face colour: the fill wherever a skin picture is missing.
inline QColor buttonFaceColour()
{
    return QApplication::palette().color(QPalette::Button);
}
