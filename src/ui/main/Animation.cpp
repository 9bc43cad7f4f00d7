#include "ui/main/Animation.h"

#include <QEvent>
#include <QPainter>

namespace {
constexpr int kTimerId = 0;
constexpr int kPeriodMs = 100;
constexpr int kLogoImage = 285;
}

Animation::Animation(QWidget* videoArea) : Window(videoArea)
{
    pictures_[1] = std::make_unique<AlphaImage>(kLogoImage);
    setAttribute(Qt::WA_OpaquePaintEvent); // never erased: blank means untouched
    setGeometry((videoArea->width() - kWidth) / 2, (videoArea->height() - kHeight) / 2, kWidth, kHeight);
    show();
    setTimer(kTimerId, kPeriodMs);
}

bool Animation::handleMessage(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        if (frame_ >= 0) {
            const auto& picture = pictures_[static_cast<std::size_t>(frame_ < 1 ? frame_ : 1)];
            if (picture) {
                QPainter painter(this);
                picture->drawAt(painter, 0, 0);
            }
        }
        return true;
    }
    return Window::handleMessage(event);
}

void Animation::onTimer(int id)
{
    if (id != kTimerId)
        return;
    ++frame_;
    if (frame_ >= 2)
        stopTimer(kTimerId);
    else
        update();
}
