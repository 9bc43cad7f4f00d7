#include "ui/panels/LineChart.h"

#include "ui/framework/SystemColours.h"

#include <QPainter>

LineChart::LineChart(QWidget* parent, const VideoPlayer& player) : Window(parent), player_(player)
{
}

void LineChart::clearPicture()
{
}

bool LineChart::hasPicture() const
{
    return false;
}

void LineChart::paintFrame(QPainter& painter)
{
    if (!leftEnd_.image() || !middle_.image() || !rightEnd_.image()) {
        painter.fillRect(rect(), buttonFaceColour());
        return;
    }
    const int a = leftEnd_.width();
    const int d = width() - rightEnd_.width();
    if (a < d)
        middle_.drawStretched(painter, a, 0, d - a, middle_.height());
    rightEnd_.drawAt(painter, d, 0);
    leftEnd_.drawAt(painter, 0, 0);
}

bool LineChart::handleMessage(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        QPainter painter(this);
        paintFrame(painter);
        return true;
    }
    return Window::handleMessage(event);
}
