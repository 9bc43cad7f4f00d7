#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

// Services events until `done` holds; false when `timeoutMs` passed first.
template <class Done>
bool processUntil(Done done, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents();
    }
    return true;
}
