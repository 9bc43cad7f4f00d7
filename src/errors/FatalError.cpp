#include "errors/FatalError.h"

#include <QCoreApplication>
#include <atomic>
#include <cstdio>

namespace {

void terminateHandler(std::exception_ptr)
{
    std::fputs("fatal error with no guard installed\n", stderr);
    std::abort();
}

std::atomic<FatalErrorHandler> gHandler{&terminateHandler};

} // namespace

FatalErrorHandler setFatalErrorHandler(FatalErrorHandler handler)
{
    return gHandler.exchange(handler ? handler : &terminateHandler);
}

void handleFatalError(std::exception_ptr error)
{
    gHandler.load()(std::move(error));
}

void postFatalError(std::exception_ptr error)
{
    if (QCoreApplication* app = QCoreApplication::instance())
        QCoreApplication::postEvent(app, new FatalErrorEvent(std::move(error)), Qt::HighEventPriority);
}
