#include "ui/panels/ConfigPanel.h"

#include "ui/framework/SystemColours.h"

#include <QPainter>

ConfigPanel::ConfigPanel(QWidget* parent, MainWindow& owner) : Window(parent), owner_(owner)
{
}

void ConfigPanel::setAllEnabled(bool)
{
}

void ConfigPanel::setVolumeEnabled(bool)
{
}

bool ConfigPanel::handleMessage(QEvent* event)
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
