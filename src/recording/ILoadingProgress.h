#pragma once

#include <QString>

// What the data file reader needs from the user interface while it indexes a
// file on the UI thread: a progress display, a chance to service pending
// events between records, and a way to warn without failing the open.
class ILoadingProgress {
public:
    virtual ~ILoadingProgress() = default;
    virtual void showLoadingProgress(int percent) = 0;
    virtual void pumpEvents() = 0;
    virtual void showWarning(const QString& text) = 0;
};

// For callers without a user interface (the inspector, tests, benchmarks).
class SilentLoadingProgress : public ILoadingProgress {
public:
    void showLoadingProgress(int) override {}
    void pumpEvents() override {}
    void showWarning(const QString&) override {}
};
