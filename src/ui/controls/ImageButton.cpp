#include "ui/controls/ImageButton.h"

#include "ui/controls/ImageButtonListener.h"
#include "ui/controls/PressInterruption.h"
#include "ui/controls/SkinImages.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <cmath>

ImageButton::ImageButton(QWidget* parent, int x, int y, int width, int height) : Window(parent)
{
    setGeometry(x, y, width, height);
    setVisible(true); // shown together with its parent
}

ImageButton::~ImageButton()
{
    stopTimer(kRepeatTimer);
}

void ImageButton::setImages(int normalId, int pressedId, int disabledId)
{
    // All three load before any is replaced, so a missing one changes nothing.
    ButtonImages loaded{loadSkinImage(normalId), loadOptionalSkinImage(pressedId),
                        loadOptionalSkinImage(disabledId)};
    setImages(std::move(loaded));
}

void ImageButton::setImages(ButtonImages images)
{
    images_ = std::move(images);
    update();
}

bool ImageButton::isEnter(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

bool ImageButton::handleMessage(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Paint:
        paint();
        return true;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton || !isEnabled())
            break;
        press(Hold::Mouse);
        return true;
    case QEvent::MouseButtonDblClick:
        return true; // its press came just before as a plain press
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            break;
        releaseMouse(*static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::KeyPress: {
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (!isEnter(key))
            break;
        if (!key.isAutoRepeat() && hold_ == Hold::None && isEnabled())
            press(Hold::Key);
        return true;
    }
    case QEvent::KeyRelease: {
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (!isEnter(key))
            break;
        if (!key.isAutoRepeat() && hold_ == Hold::Key)
            releaseKey();
        return true;
    }
    case QEvent::FocusOut:
        if (hold_ == Hold::Key) // its key-up goes elsewhere now
            interrupt();
        break;
    default:
        if (interruptsPress(event, *this))
            interrupt();
        break;
    }
    return Window::handleMessage(event);
}

void ImageButton::press(Hold how)
{
    hold_ = how;
    repaintIfLookChanges();
    if (listener_)
        listener_->pressed(this);
    // The listener may have lost the press for us (a message box).
    if (hold_ != Hold::None)
        setTimer(kRepeatTimer, kRepeatIntervalMs);
}

void ImageButton::onTimer(int id)
{
    if (id != kRepeatTimer)
        return;
    if (hold_ != Hold::None && isEnabled()) {
        if (listener_)
            listener_->pressed(this);
    } else {
        stopTimer(kRepeatTimer);
    }
}

void ImageButton::releaseMouse(const QMouseEvent& event)
{
    // Only a press that started here can end in a click.
    if (hold_ != Hold::Mouse)
        return;
    stopTimer(kRepeatTimer);
    hold_ = Hold::None;
    repaintIfLookChanges();
    const int x = static_cast<int>(std::floor(event.position().x()));
    const int y = static_cast<int>(std::floor(event.position().y()));
    if (rect().contains(x, y) && listener_)
        listener_->clicked(this);
}

void ImageButton::releaseKey()
{
    stopTimer(kRepeatTimer);
    hold_ = Hold::None;
    repaint();
    if (listener_)
        listener_->clicked(this);
}

void ImageButton::interrupt()
{
    if (hold_ == Hold::None)
        return;
    stopTimer(kRepeatTimer);
    hold_ = Hold::None;
    update();
}

// Without a frame and a pressed picture the look does not change on press.
void ImageButton::repaintIfLookChanges()
{
    if (drawFrame_ || images_.pressed)
        repaint();
}

void ImageButton::paint()
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    const bool down = isDown();
    if (drawFrame_)
        qDrawWinPanel(&painter, rect(), palette(), down);
    if (!images_.normal)
        return;
    const AlphaImage* shown = images_.normal.get();
    if (!isEnabled() && images_.disabled)
        shown = images_.disabled.get();
    int top = 0;
    if (down) {
        if (images_.pressed)
            shown = images_.pressed.get();
        else if (drawFrame_)
            top = 1;
        else
            return;
    }
    shown->drawStretched(painter, 0, top, width(), height());
}
