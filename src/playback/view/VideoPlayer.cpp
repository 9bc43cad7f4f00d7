#include "playback/view/VideoPlayer.h"

#include <QEvent>
#include <QPainter>

VideoPlayer::VideoPlayer(QWidget* parent) : Window(parent)
{
    setGeometry(0, 0, 640, 480);
}

void VideoPlayer::pause()
{
    if (state_ != Closed)
        state_ = Paused;
}

bool VideoPlayer::handleMessage(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        QPainter(this).fillRect(rect(), Qt::white);
        return true;
    }
    return Window::handleMessage(event);
}
