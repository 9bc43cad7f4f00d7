#pragma once

#include "errors/FatalError.h"

#include <exception>
#include <utility>

// Runs a piece of our code that Qt called; any failure stops here and goes
// to the fatal-error guard instead of unwinding through Qt's frames.
// Returns `fallback` when it failed.
template <class F, class R = decltype(std::declval<F>()())>
R routeErrors(F&& f, R fallback = R())
{
    try {
        return std::forward<F>(f)();
    } catch (...) {
        handleFatalError(std::current_exception());
        return fallback;
    }
}

template <class F>
void routeErrorsVoid(F&& f)
{
    try {
        std::forward<F>(f)();
    } catch (...) {
        handleFatalError(std::current_exception());
    }
}
