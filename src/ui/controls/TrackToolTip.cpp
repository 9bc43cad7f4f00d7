#include "ui/controls/TrackToolTip.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace {
constexpr int kPaddingX = 4;
constexpr int kPaddingY = 2;
} // namespace

TrackToolTip::TrackToolTip(QWidget* parent)
    : Window(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TrackToolTip::addButtonTool(const QString& text, QWidget* button)
{
    addTool(button, false, text);
    button->setToolTip(text);
}

void TrackToolTip::addTrackingTool(QWidget* control, const QString& text)
{
    addTool(control, true, text);
}

void TrackToolTip::addTool(QWidget* control, bool tracking, const QString& text)
{
    const bool known = tools_.count(control) != 0;
    tools_[control] = Tool{tracking, text};
    if (!known)
        connect(control, &QObject::destroyed, this, [this](QObject* gone) { forget(gone); });
}

void TrackToolTip::forget(const QObject* control)
{
    tools_.erase(control);
    if (shownFor_ == control) {
        shownFor_ = nullptr;
        hide();
    }
}

TrackToolTip::Tool* TrackToolTip::findTool(const QWidget* control)
{
    const auto it = tools_.find(control);
    return it != tools_.end() ? &it->second : nullptr;
}

QString TrackToolTip::toolText(const QWidget* control) const
{
    const auto it = tools_.find(control);
    return it != tools_.end() ? it->second.text : QString();
}

void TrackToolTip::showTracking(QWidget* control, const QString& text)
{
    Tool* tool = findTool(control);
    if (!tool || !tool->tracking)
        return;
    // The tip opens with the text it is given, not a stale one from the last drag.
    tool->text = text;
    shownFor_ = control;
    fitAndPlace();
    update();
    show();
}

void TrackToolTip::hideTracking(QWidget* control)
{
    if (shownFor_ != control)
        return;
    shownFor_ = nullptr;
    hide();
}

void TrackToolTip::setText(QWidget* control, const QString& text)
{
    Tool* tool = findTool(control);
    if (!tool)
        return;
    tool->text = text;
    if (!tool->tracking) {
        control->setToolTip(text);
        return;
    }
    if (shownFor_ == control) {
        fitAndPlace();
        update();
    }
}

void TrackToolTip::setTrackPosition(const QPoint& screenPoint)
{
    position_ = screenPoint;
    if (shownFor_)
        fitAndPlace();
}

// Sized to the text and kept on the screen that holds the tracking point.
void TrackToolTip::fitAndPlace()
{
    const QFontMetrics metrics(font());
    const QSize size = metrics.size(Qt::TextSingleLine, toolText(shownFor_)) + QSize(2 * kPaddingX, 2 * kPaddingY);
    QPoint topLeft = position_;
    if (const QScreen* screen = QGuiApplication::screenAt(position_)) {
        const QRect area = screen->geometry();
        topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
        topLeft.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
    }
    setGeometry(QRect(topLeft, size));
}

bool TrackToolTip::handleMessage(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        paint();
        return true;
    }
    return Window::handleMessage(event);
}

void TrackToolTip::paint()
{
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::ToolTipBase));
    painter.setPen(colours.color(QPalette::ToolTipText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawText(rect(), Qt::AlignCenter, toolText(shownFor_));
}
