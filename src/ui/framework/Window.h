#pragma once

#include <QWidget>
#include <map>

class Window;

// Per-window timers by the program's own ids. The real timers run on Qt's
// event loop; tests install a service they fire by hand, so no test sleeps.
class ITimerService {
public:
    virtual ~ITimerService() = default;
    virtual void start(Window& window, int id, int intervalMs) = 0;
    virtual void stop(Window& window, int id) = 0;
};

// Returns the previous service; null restores the real timers.
ITimerService* setTimerService(ITimerService* service);

// Base of every window of the program. The object is the widget, so it dies
// with its window: a parent deletes its children (Qt's object tree is the
// ownership rule), and nobody else deletes a Window that has a parent.
//
// Every event Qt delivers goes through one router (event), which hands it to
// handleMessage and stops any failure at that edge: it goes to the fatal
// error guard instead of unwinding through Qt.
class Window : public QWidget {
public:
    explicit Window(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    // The window's own disabled flag, not inherited from its parents.
    bool isOwnEnabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    // Nothing when unchanged; otherwise enables or disables and repaints.
    void setOwnEnabled(bool enabled);

    void setTimer(int id, int intervalMs);
    void stopTimer(int id);
    // Called by the timer service when timer `id` elapses.
    void deliverTimer(int id);

protected:
    // Derived windows handle their events here and end with the base's
    // default for the rest.
    virtual bool handleMessage(QEvent* event);
    virtual void onTimer(int id);

private:
    bool event(QEvent* event) final;

    friend class QtTimerService;
    std::map<int, int> qtTimers_; // program id -> Qt timer id
};

// Moves `window` so that its outer rectangle is centred on the reference's
// (truncating divisions), keeping its size.
void centreOver(QWidget* window, const QWidget* reference);
