#include "ui/panels/ConsolePanel.h"

#include "ui/framework/SystemColours.h"

#include <QPainter>

ConsolePanel::ConsolePanel(QWidget* parent, MainWindow& owner) : Window(parent), owner_(owner)
{
}

void ConsolePanel::refreshControls()
{
}

void ConsolePanel::setFileButtonTips(int)
{
}

void ConsolePanel::showControls(bool)
{
}

void ConsolePanel::paintBackground(QPainter& painter)
{
    const int w = width();
    if (isOwnEnabled()) {
        if (!left_.image() || !middle_.image() || !right_.image()) {
            painter.fillRect(rect(), buttonFaceColour());
            return;
        }
        if (250 < w - 400)
            middle_.drawStretched(painter, 250, 0, w - 400 - 250, 65);
        right_.drawAt(painter, w - 400, 0);
        left_.drawAt(painter, 0, 0);
        return;
    }
    if (!left_.image() || !disabledMiddle_.image() || !disabledRight_.image()) {
        painter.fillRect(rect(), buttonFaceColour());
        return;
    }
    left_.drawAt(painter, 0, 0);
    // The disabled middle starts three quarters into the left picture.
    const int start = left_.width() - left_.width() / 4;
    if (start < w - 74)
        disabledMiddle_.drawStretched(painter, start, 0, w - 74 - start, 65);
    disabledRight_.drawAt(painter, w - 74, 0);
}

bool ConsolePanel::handleMessage(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        QPainter painter(this);
        paintBackground(painter);
        return true;
    }
    return Window::handleMessage(event);
}
