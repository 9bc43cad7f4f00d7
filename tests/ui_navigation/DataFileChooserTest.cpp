#include "device/dialogs/DataFileChooser.h"

#include "support/QtApp.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <set>

namespace {

class DataFileChooserTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qtApp(); }
    TempDir dir;

    void touch(const QString& name)
    {
        QFile file(dir.file(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
};

} // namespace

TEST_F(DataFileChooserTest, DialogAsksForOneExistingDataFileInTheDetailsView)
{
    const auto dialog = createDataFileDialog(nullptr, dir.path());
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog->nameFilters(), QStringList{QString::fromUtf16(u"画像ファイル(*.dat)")});
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("dat"));
    EXPECT_EQ(dialog->viewMode(), QFileDialog::Detail);
    EXPECT_EQ(dialog->directory().absolutePath(), dir.path());
}

TEST_F(DataFileChooserTest, StartsInTheFolderOfARememberedFile)
{
    touch(QStringLiteral("0001_001.DAT"));
    const auto dialog = createDataFileDialog(nullptr, dir.file(QStringLiteral("0001_001.DAT")));
    EXPECT_EQ(dialog->directory().absolutePath(), dir.path());
}

TEST_F(DataFileChooserTest, ListsDataFilesInAnyLetterCase)
{
    for (const char* name : {"0001_001.DAT", "0002_002.dat", "drive.Dat", "notes.txt", "old.dat.bak"})
        touch(QString::fromLatin1(name));
    const auto dialog = createDataFileDialog(nullptr, dir.path());
    auto* model = dialog->findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    const QModelIndex root = model->index(dir.path());

    // The model lists the folder on a thread of its own.
    std::set<QString> listed;
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (model->rowCount(root) >= 3)
            break;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    for (int row = 0; row < model->rowCount(root); ++row)
        listed.insert(model->index(row, 0, root).data().toString());
    EXPECT_EQ(listed, (std::set<QString>{"0001_001.DAT", "0002_002.dat", "drive.Dat"}));
}

TEST_F(DataFileChooserTest, PresenterAnswersInsteadOfTheDialog)
{
    QString askedFolder;
    const DataFileChooserPresenter previous = setDataFileChooserPresenter([&](QWidget*, const QString& folder) {
        askedFolder = folder;
        return std::optional<QString>(dir.file(QStringLiteral("0001_001.DAT")));
    });
    EXPECT_EQ(chooseDataFile(nullptr, dir.path()), dir.file(QStringLiteral("0001_001.DAT")));
    EXPECT_EQ(askedFolder, dir.path());
    setDataFileChooserPresenter(previous);
}
