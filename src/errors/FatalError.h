#pragma once

#include <QEvent>
#include <exception>

// A failure that nothing below the start-up guard handles. Code that Qt or
// another thread calls into catches everything at its edge and hands it here:
// on the UI thread straight to the guard, from other threads as a posted event.

using FatalErrorHandler = void (*)(std::exception_ptr);

// The start-up guard installs its handler; tests install a recorder.
// Returns the previous handler.
FatalErrorHandler setFatalErrorHandler(FatalErrorHandler handler);

// On the UI thread: hands the failure to the handler at once.
void handleFatalError(std::exception_ptr error);

// From any thread: posts the failure to the application object, whose
// event handler passes it to handleFatalError on the UI thread.
void postFatalError(std::exception_ptr error);

class FatalErrorEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 0x7F0);
    explicit FatalErrorEvent(std::exception_ptr error) : QEvent(kType), error(std::move(error)) {}
    const std::exception_ptr error;
};
