#pragma once

#include <QApplication>

// One QApplication for a widget test executable (the offscreen platform is
// chosen by the test registration).
inline QApplication& qtApp()
{
    static int argc = 1;
    static char name[] = "kvr-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance())
                                   ? qobject_cast<QApplication*>(QCoreApplication::instance())
                                   : new QApplication(argc, argv);
    return *app;
}
