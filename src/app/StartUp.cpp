#include "app/StartUp.h"

#include "app/FatalErrorGuard.h"
#include "errors/Exception.h"
#include "errors/FatalError.h"
#include "text/TextTable.h"
#include "ui/framework/MessageBox.h"
#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cwchar>
#include <sys/utsname.h>
#include <unistd.h>

std::optional<RecordingFormat::Version> parseDataVersion(const QString& text)
{
    const std::wstring wide = text.toStdWString();
    wchar_t* end = nullptr;
    const long value = std::wcstol(wide.c_str(), &end, 16);
    if (end == wide.c_str() || value > 0xFFFF)
        return std::nullopt;
    return RecordingFormat::Version{static_cast<std::uint8_t>((value >> 8) & 0xFF),
                                    static_cast<std::uint8_t>(value & 0xFF)};
}

SystemCheck checkOperatingSystem()
{
    utsname name{};
    return ::uname(&name) == 0 ? SystemCheck::Supported : SystemCheck::Unidentified;
}

namespace {

// Failures posted from other threads reach the guard here.
class Application : public QApplication {
public:
    using QApplication::QApplication;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == FatalErrorEvent::kType) {
            FatalErrorGuard::handle(static_cast<FatalErrorEvent*>(event)->error);
            return true;
        }
        return QApplication::event(event);
    }
};

} // namespace

int runViewer(int argc, char** argv)
{
    ::chdir("/"); // hold no folder of the card open

    Application app(argc, argv);
    app.setQuitOnLastWindowClosed(true);
    // Qt's own dialogs (the file chooser) in Japanese, like the rest.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);

    if (checkOperatingSystem() == SystemCheck::Unidentified)
        showMessageBox(nullptr, resourceTextNarrow(5049), TextId::CaptionWarning, MessageIcon::Warning);

    QPointer<MainWindow> mainWindow;
    FatalErrorGuard::install(&mainWindow);
    try {
        if (const auto version = parseDataVersion(resourceText(TextId::DataVersion)))
            RecordingFormat::setDataVersion(*version);
        mainWindow = new MainWindow;
        mainWindow->setAttribute(Qt::WA_DeleteOnClose);
        mainWindow->show();
        mainWindow->showStartLogo();
    } catch (...) {
        FatalErrorGuard::handle(std::current_exception());
    }
    const int code = FatalErrorGuard::failed() ? 1 : app.exec();
    // After a fatal error the window is still there: it goes now, outside
    // every handler, and takes the open recording's temporary files with it.
    delete mainWindow.data();
    return FatalErrorGuard::failed() ? 1 : code;
}
