#include "device/dialogs/DataFileChooser.h"

#include <QFileDialog>
#include <QFileInfo>
#include <utility>

namespace {

// The recorder writes DDDD_DDD.DAT, copies may come in lower case: the
// filter's pattern matches either way.
const QString kFilter = QString::fromUtf16(u"画像ファイル(*.dat)");

std::optional<QString> runDataFileDialog(QWidget* owner, const QString& initialFolder)
{
    const std::unique_ptr<QFileDialog> dialog = createDataFileDialog(owner, initialFolder);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().front();
}

DataFileChooserPresenter& presenter()
{
    static DataFileChooserPresenter current;
    return current;
}

// The remembered data path is usually the file opened last: start in its folder.
QString startFolder(const QString& initialFolder)
{
    const QFileInfo info(initialFolder);
    return info.exists() && !info.isDir() ? info.absolutePath() : initialFolder;
}

} // namespace

std::unique_ptr<QFileDialog> createDataFileDialog(QWidget* owner, const QString& initialFolder)
{
    auto dialog = std::make_unique<QFileDialog>(owner);
    // Qt's own dialog, so the filter, view and checks below hold on every desktop.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    dialog->setNameFilter(kFilter);
    dialog->setDefaultSuffix(QStringLiteral("dat"));
    dialog->setViewMode(QFileDialog::Detail);
    dialog->setDirectory(startFolder(initialFolder));
    return dialog;
}

std::optional<QString> chooseDataFile(QWidget* owner, const QString& initialFolder)
{
    if (presenter())
        return presenter()(owner, initialFolder);
    return runDataFileDialog(owner, initialFolder);
}

DataFileChooserPresenter setDataFileChooserPresenter(DataFileChooserPresenter next)
{
    return std::exchange(presenter(), std::move(next));
}
