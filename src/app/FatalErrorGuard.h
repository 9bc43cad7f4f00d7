#pragma once

#include <QPointer>
#include <exception>

class MainWindow;

// The outermost guard. The first fatal error stops what runs on its own,
// is shown (its message, or 5057 for a failure that is not an Exception,
// caption 5018), and the event loop ends with exit code 1. Later ones are
// ignored: the program is already ending.
class FatalErrorGuard {
public:
    // Becomes the fatal-error handler; `mainWindow` is watched, not owned.
    static void install(QPointer<MainWindow>* mainWindow);
    static void handle(std::exception_ptr error);
    static bool failed() { return failed_; }

private:
    static inline QPointer<MainWindow>* mainWindow_ = nullptr;
    static inline bool failed_ = false;
};
