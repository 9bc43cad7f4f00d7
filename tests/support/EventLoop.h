#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

// One application object for a test executable without widgets; a widget
// test's QApplication (support/QtApp.h) serves as well.
inline void ensureCoreApplication()
{
    static int argc = 1;
    static char name[] = "kvr-tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

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
