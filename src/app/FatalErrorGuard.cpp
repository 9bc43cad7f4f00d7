#include "app/FatalErrorGuard.h"

#include "errors/Exception.h"
#include "errors/FatalError.h"
#include "text/TextTable.h"
#include "ui/framework/MessageBox.h"
#include "ui/main/MainWindow.h"

#include <QCoreApplication>

void FatalErrorGuard::install(QPointer<MainWindow>* mainWindow)
{
    mainWindow_ = mainWindow;
    setFatalErrorHandler(&handle);
}

void FatalErrorGuard::handle(std::exception_ptr error)
{
    if (failed_)
        return;
    failed_ = true;
    MainWindow* window = mainWindow_ ? mainWindow_->data() : nullptr;
    if (window)
        window->emergencyStop();
    QString message = resourceText(TextId::ApplicationError);
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        message = e.message();
    } catch (...) {
    }
    try {
        showMessageBox(nullptr, message, TextId::CaptionError, MessageIcon::Error);
    } catch (...) {
        // Nothing more can be shown; the program ends all the same.
    }
    // The main loop ends when control returns to it (after a load that is
    // running, too); the caller then destroys the window.
    QCoreApplication::exit(1);
}
