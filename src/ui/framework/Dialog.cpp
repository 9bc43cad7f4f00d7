#include "ui/framework/Dialog.h"

#include "errors/Exception.h"
#include "text/TextTable.h"
#include "ui/framework/ErrorRouter.h"
#include "ui/framework/MessageBox.h"
#include "ui/framework/Window.h"

int Dialog::runModal(QWidget* owner)
{
    try {
        setParent(owner, windowFlags() | Qt::Dialog);
        build();
        initDialog();
    } catch (const WindowException& e) {
        showMessageBox(owner, e.message(), TextId::CaptionWarning, MessageIcon::Warning);
        return kFailed;
    }
    return exec();
}

void Dialog::initDialog()
{
    adjustSize();
    if (parentWidget())
        centreOver(this, parentWidget()->window());
}

bool Dialog::handleMessage(QEvent* event)
{
    return QDialog::event(event);
}

bool Dialog::event(QEvent* event)
{
    return routeErrors([&] { return handleMessage(event); }, true);
}
