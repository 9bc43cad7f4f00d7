#include "ui/framework/Window.h"

#include "ui/framework/ErrorRouter.h"

#include <QTimerEvent>

class QtTimerService : public ITimerService {
public:
    void start(Window& window, int id, int intervalMs) override
    {
        stop(window, id);
        window.qtTimers_[id] = window.startTimer(intervalMs, Qt::PreciseTimer);
    }
    void stop(Window& window, int id) override
    {
        const auto it = window.qtTimers_.find(id);
        if (it == window.qtTimers_.end())
            return;
        window.QObject::killTimer(it->second);
        window.qtTimers_.erase(it);
    }
    static QtTimerService& instance()
    {
        static QtTimerService service;
        return service;
    }
};

namespace {
ITimerService* gTimerService = nullptr; // UI thread only
ITimerService& timerService()
{
    return gTimerService ? *gTimerService : QtTimerService::instance();
}
} // namespace

ITimerService* setTimerService(ITimerService* service)
{
    return std::exchange(gTimerService, service);
}

Window::Window(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
}

void Window::setOwnEnabled(bool enabled)
{
    if (isOwnEnabled() == enabled)
        return;
    setEnabled(enabled);
    repaint();
}

void Window::setTimer(int id, int intervalMs)
{
    timerService().start(*this, id, intervalMs);
}

void Window::stopTimer(int id)
{
    timerService().stop(*this, id);
}

void Window::deliverTimer(int id)
{
    routeErrorsVoid([&] { onTimer(id); });
}

bool Window::handleMessage(QEvent* event)
{
    return QWidget::event(event);
}

void Window::onTimer(int)
{
}

bool Window::event(QEvent* event)
{
    if (event->type() == QEvent::Timer) {
        const int qtId = static_cast<QTimerEvent*>(event)->timerId();
        for (const auto& [id, running] : qtTimers_)
            if (running == qtId) {
                deliverTimer(id);
                return true;
            }
    }
    return routeErrors([&] { return handleMessage(event); }, true);
}

void centreOver(QWidget* window, const QWidget* reference)
{
    const QRect outer = window->frameGeometry();
    const QRect ref = reference->frameGeometry();
    window->move(ref.left() + (ref.width() - outer.width()) / 2, ref.top() + (ref.height() - outer.height()) / 2);
}
