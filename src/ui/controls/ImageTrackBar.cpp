#include "ui/controls/ImageTrackBar.h"

#include "ui/controls/ImageTrackBarListener.h"
#include "ui/controls/PressInterruption.h"
#include "ui/controls/SkinImages.h"
#include "ui/controls/TrackToolTip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// One slice of a track picture; empty or reversed slices draw nothing
// (a stretch to a negative width would mirror the picture).
void drawSlice(QPainter& painter, const AlphaImage& image, int x, int width, int sourceX, int sourceWidth,
               int height)
{
    if (width <= 0 || sourceWidth <= 0)
        return;
    image.drawPart(painter, x, 0, width, height, sourceX, sourceWidth, height);
}

int mouseX(const QEvent* event)
{
    return static_cast<int>(std::floor(static_cast<const QMouseEvent*>(event)->position().x()));
}

bool isLeftButton(const QEvent* event)
{
    return static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton;
}

} // namespace

ImageTrackBar::ImageTrackBar(QWidget* parent, int x, int y, int width, int height) : Window(parent)
{
    setGeometry(x, y, width, height);
    setVisible(true); // shown together with its parent
}

ImageTrackBar::~ImageTrackBar()
{
    stopTimer(kNotifyTimer);
}

void ImageTrackBar::setImages(int thumbId, int trackId, int filledId)
{
    // All load before any is replaced, so a missing one changes nothing.
    TrackBarImages loaded{loadSkinImage(thumbId), loadSkinImage(trackId), loadOptionalSkinImage(filledId)};
    setImages(std::move(loaded));
}

void ImageTrackBar::setImages(TrackBarImages images)
{
    images_ = std::move(images);
    thumbX_ = valueToPixel(value_);
    update();
}

bool ImageTrackBar::hasThumbAndTrack() const
{
    return hasPicture(images_.thumb) && hasPicture(images_.track);
}

int ImageTrackBar::thumbWidth() const
{
    return hasThumbAndTrack() ? images_.thumb->width() : 0;
}

QString ImageTrackBar::label() const
{
    return labelFormatter_ ? labelFormatter_(value_) : QString::number(value_);
}

void ImageTrackBar::setRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    value_ = std::clamp(value_, minimum_, maximum_);
    // The thumb follows a changed range even when the value stayed inside.
    placeThumb();
}

void ImageTrackBar::setValue(int v, bool notify)
{
    v = std::clamp(v, minimum_, maximum_);
    const int x = valueToPixel(v);
    if (x != thumbX_) {
        thumbX_ = x;
        repaint();
    }
    if (v == value_)
        return;
    value_ = v;
    if (notify && listener_)
        listener_->valueChanged(this);
}

void ImageTrackBar::placeThumb()
{
    const int x = valueToPixel(value_);
    if (x == thumbX_)
        return;
    thumbX_ = x;
    repaint();
}

int ImageTrackBar::valueToPixel(int v) const
{
    if (!hasThumbAndTrack() || maximum_ == minimum_)
        return 0;
    // A slider no wider than its thumb has nowhere to move it.
    const std::int64_t travel = width() - thumbWidth();
    if (travel <= 0)
        return 0;
    return static_cast<int>((std::int64_t{v} - minimum_) * travel / (std::int64_t{maximum_} - minimum_));
}

void ImageTrackBar::setValueFromPixel(int x, bool notify)
{
    if (!hasThumbAndTrack())
        return;
    const std::int64_t travel = width() - thumbWidth();
    if (travel <= 0)
        return;
    // Offsets beyond either end give the bound either way; limiting them
    // first keeps the product in range.
    const std::int64_t offset = std::clamp<std::int64_t>(std::int64_t{x} - thumbWidth() / 2, 0, travel);
    const std::int64_t v = minimum_ + (std::int64_t{maximum_} - minimum_) * offset / travel;
    setValue(static_cast<int>(v), notify);
}

bool ImageTrackBar::handleMessage(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
        thumbX_ = valueToPixel(value_);
        update();
        break;
    case QEvent::Paint:
        paint();
        return true;
    case QEvent::MouseButtonPress:
        if (!isLeftButton(event) || !isEnabled())
            break;
        press(mouseX(event));
        return true;
    case QEvent::MouseButtonDblClick:
        return true; // its press came just before as a plain press
    case QEvent::MouseMove:
        if (!tracking_)
            break;
        move(mouseX(event));
        return true;
    case QEvent::MouseButtonRelease:
        if (!isLeftButton(event) || !tracking_)
            break;
        release(mouseX(event));
        return true;
    default:
        if (interruptsPress(event, *this))
            interrupt();
        break;
    }
    return Window::handleMessage(event);
}

void ImageTrackBar::press(int x)
{
    const int t = thumbWidth();
    const bool onThumb = hasThumbAndTrack() && thumbX_ <= x && x <= thumbX_ + t;
    if (!onThumb)
        setValueFromPixel(x + t / 2, false); // the thumb's left edge under the pointer
    tracking_ = true;
    // A listener may lose the press for us (a message box): stop there.
    if (listener_) {
        listener_->trackStarted(this);
        if (!tracking_)
            return;
        listener_->valueChanged(this);
        if (!tracking_)
            return;
    }
    setTimer(kNotifyTimer, kNotifyIntervalMs);
    if (toolTip_) {
        placeTip(x);
        toolTip_->showTracking(this, label());
    }
}

void ImageTrackBar::move(int x)
{
    setValueFromPixel(x + thumbWidth() / 2, false);
    if (toolTip_) {
        placeTip(x);
        toolTip_->setText(this, label());
    }
}

void ImageTrackBar::onTimer(int id)
{
    if (id != kNotifyTimer)
        return;
    if (tracking_ && isEnabled()) {
        if (listener_)
            listener_->valueChanged(this);
    } else {
        stopTimer(kNotifyTimer);
    }
}

void ImageTrackBar::release(int x)
{
    tracking_ = false;
    stopTimer(kNotifyTimer);
    setValueFromPixel(x + thumbWidth() / 2, true);
    if (toolTip_)
        toolTip_->hideTracking(this);
    if (listener_) {
        listener_->valueChanged(this);
        listener_->trackEnded(this);
    }
}

void ImageTrackBar::interrupt()
{
    if (!tracking_)
        return;
    tracking_ = false;
    stopTimer(kNotifyTimer);
    if (toolTip_)
        toolTip_->hideTracking(this);
    if (listener_)
        listener_->trackEnded(this);
}

void ImageTrackBar::placeTip(int x)
{
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    const int tipX = std::clamp(origin.x() + x + thumbWidth() / 2, origin.x(), origin.x() + width());
    toolTip_->setTrackPosition(QPoint(tipX, origin.y() - kTipAbove));
}

void ImageTrackBar::paint()
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (!hasThumbAndTrack())
        return;
    if (stretchTrack_)
        paintTrack(painter, width(), height());
    else
        images_.track->drawAt(painter, 0, 0);
    images_.thumb->drawAt(painter, thumbX_, 0);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = QRect(QPoint(1, 1), QPoint(width() - 2, height() - 2));
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void ImageTrackBar::paintTrack(QPainter& painter, int width, int /*height*/)
{
    const AlphaImage& track = *images_.track;
    const AlphaImage& filled = images_.filled ? *images_.filled : track;
    const int t = images_.thumb->width();
    const int half = t / 2;
    const int trackWidth = track.width();
    const int trackHeight = track.height();
    if (t >= trackWidth)
        return;
    const int middle = trackWidth - 2 * half;
    drawSlice(painter, filled, 0, half, 0, half, trackHeight);
    drawSlice(painter, filled, half, thumbX_, half, middle, trackHeight);
    drawSlice(painter, track, width - half, half, trackWidth - half, half, trackHeight);
    drawSlice(painter, track, thumbX_ + half, width - half - (thumbX_ + half), half, middle, trackHeight);
}
