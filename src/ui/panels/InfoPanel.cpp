#include "ui/panels/InfoPanel.h"

#include "ui/framework/SystemColours.h"

#include <QPainter>

InfoPanel::InfoPanel(QWidget* parent, const VideoPlayer& player) : Window(parent), player_(player)
{
}

bool InfoPanel::handleMessage(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        QPainter painter(this);
        if (background_.image())
            background_.drawAt(painter, 0, 0);
        else
            painter.fillRect(rect(), buttonFaceColour());
        return true;
    }
    return Window::handleMessage(event);
}
