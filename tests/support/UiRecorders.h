#pragma once

#include "errors/FatalError.h"
#include "ui/framework/MessageBox.h"
#include "ui/framework/Window.h"

#include <QString>
#include <deque>
#include <set>
#include <utility>
#include <vector>

// Records every message box instead of showing it, answering from a script
// (OK, or the button asked for first, when the script is empty).
class MessageBoxRecorder {
public:
    struct Shown {
        QWidget* owner;
        QString text;
        int captionId;
        MessageIcon icon;
        MessageButtons buttons;
    };

    MessageBoxRecorder()
    {
        previous_ = setMessageBoxPresenter([this](QWidget* owner, const QString& text, int caption, MessageIcon icon,
                                                  MessageButtons buttons) {
            shown.push_back({owner, text, caption, icon, buttons});
            if (!answers.empty()) {
                const int a = answers.front();
                answers.pop_front();
                return a;
            }
            return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageAnswer::Yes
                                                                                              : MessageAnswer::Ok;
        });
    }
    ~MessageBoxRecorder() { setMessageBoxPresenter(std::move(previous_)); }

    std::vector<Shown> shown;
    std::deque<int> answers;

private:
    MessageBoxPresenter previous_;
};

// Timers that fire only when the test says so.
class ManualTimers : public ITimerService {
public:
    ManualTimers() : previous_(setTimerService(this)) {}
    ~ManualTimers() override { setTimerService(previous_); }

    void start(Window& w, int id, int intervalMs) override
    {
        active_.insert({&w, id});
        lastInterval = intervalMs;
    }
    void stop(Window& w, int id) override { active_.erase({&w, id}); }
    bool isActive(Window& w, int id) const { return active_.count({&w, id}) != 0; }

    // Fires the timer once, as an elapsed interval would; false when it is not running.
    bool fire(Window& w, int id)
    {
        if (!isActive(w, id))
            return false;
        w.deliverTimer(id);
        return true;
    }

    int lastInterval = 0;

private:
    std::set<std::pair<Window*, int>> active_;
    ITimerService* previous_;
};

// Records fatal errors handed to the guard.
class FatalErrorRecorder {
public:
    FatalErrorRecorder() { previous_ = setFatalErrorHandler(&record); }
    ~FatalErrorRecorder()
    {
        setFatalErrorHandler(previous_);
        errors().clear();
    }
    static std::vector<std::exception_ptr>& errors()
    {
        static std::vector<std::exception_ptr> list;
        return list;
    }

private:
    static void record(std::exception_ptr e) { errors().push_back(std::move(e)); }
    FatalErrorHandler previous_;
};
