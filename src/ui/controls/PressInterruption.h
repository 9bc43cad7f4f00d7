#pragma once

#include <QEvent>
#include <QWidget>

// True for the events by which a control loses a press in progress without
// seeing its release: a modal window blocks or deactivates its window (the
// release then goes nowhere), or the control is hidden or disabled. Qt
// announces no loss of its implicit mouse grab, so these stand for it.
inline bool interruptsPress(const QEvent* event, const QWidget& control)
{
    switch (event->type()) {
    case QEvent::Hide:
    case QEvent::WindowDeactivate:
    case QEvent::WindowBlocked:
        return true;
    case QEvent::EnabledChange:
        return !control.isEnabled();
    default:
        return false;
    }
}
