#include "ui/about/HelpPage.h"

#include "errors/Exception.h"
#include "text/TextTable.h"
#include "ui/about/UrlOpener.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>

namespace {

constexpr int kSupportPageText = 5086;

QString resourcePath(int id)
{
    return QStringLiteral(":/HTML/%1").arg(id);
}

void copyOut(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.copy(to))
        throw WindowException(source.errorString());
}

// The page as <folder>/22100.html, so that the browser knows it for HTML,
// and each picture the program carries under its bare number.
QString writeHelpPage(const QDir& folder)
{
    const QString page = folder.filePath(QStringLiteral("%1.html").arg(HelpPage::kPage));
    if (!QFile::exists(resourcePath(HelpPage::kPage)))
        throw WindowException::fromError(ENOENT);
    copyOut(resourcePath(HelpPage::kPage), page);
    for (int id = HelpPage::kFirstPicture; id <= HelpPage::kLastPicture; ++id)
        if (QFile::exists(resourcePath(id)))
            copyOut(resourcePath(id), folder.filePath(QString::number(id)));
    return page;
}

} // namespace

void showHelp()
{
    // The folder stays after the call: the browser reads it later, and the
    // system's temporary area is cleared by the system.
    QTemporaryDir folder(QDir::temp().filePath(QStringLiteral("kvr-help-XXXXXX")));
    if (!folder.isValid())
        throw WindowException(folder.errorString());
    const QString page = writeHelpPage(QDir(folder.path()));
    if (!openUrl(QUrl::fromLocalFile(page)))
        throw WindowException::fromError(EIO);
    folder.setAutoRemove(false);
}

void openSupportPage()
{
    const QString address = resourceText(kSupportPageText);
    if (address.isEmpty())
        throw WindowException::fromError(ENOENT);
    if (!openUrl(QUrl(address)))
        throw WindowException::fromError(EIO);
}
