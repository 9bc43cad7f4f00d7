#include "NavigationFixtures.h"

#include "device/dialogs/DataFileChooser.h"
#include "errors/Exception.h"

#include <QPointer>
#include <functional>

using namespace navigation;

namespace {

const QString kCannotRead = QString::fromUtf16(u"該当データを読み込めません。");

} // namespace

TEST_F(NavigationTest, RecorderNamedFileOpensWithItsFolderAndPlays)
{
    CardFolder card(3);
    // The recorder's form in any letter case.
    const QString lower = card.folder() + QStringLiteral("/0004_004.dat");
    CardFolder::writeRecording(lower, {2024, 3, 2, 9, 0, 0});
    for (const QString& path : {card.path(2), lower}) {
        SCOPED_TRACE(path.toStdString());
        TestWindow window;
        window.openData(path, false);
        VideoPlayer& player = *window.player();
        EXPECT_EQ(player.state(), VideoPlayer::Playing);
        EXPECT_EQ(player.entryCount(), 4);
        EXPECT_EQ(player.dataFilePath(), path);
        EXPECT_EQ(player.entryPath(player.entryIndex()), path);
        EXPECT_EQ(window.dataPath, path);
        EXPECT_EQ(window.windowTitle(), titleFor(path));
        EXPECT_EQ(window.loads, QStringList{path});
        EXPECT_TRUE(boxes.shown.empty());
    }
}

TEST_F(NavigationTest, AnyOtherNameOpensAlone)
{
    CardFolder card(2);
    const QString path = card.folder() + QStringLiteral("/drive.dat");
    CardFolder::writeRecording(path, {2024, 3, 1, 8, 0, 0});
    TestWindow window;
    window.openData(path, false);
    EXPECT_EQ(window.player()->state(), VideoPlayer::Playing);
    EXPECT_EQ(window.player()->entryCount(), 0);
    EXPECT_EQ(window.windowTitle(), titleFor(path));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(NavigationTest, LargeFolderAsksFromItsThousandAndFirstFile)
{
    for (const int files : {1000, 1001}) {
        SCOPED_TRACE(files);
        MessageBoxRecorder local;
        local.answers = {MessageAnswer::Cancel};
        TempDir dir;
        // The scan reads only the first 8 bytes of each file.
        const RecordingWriter header({});
        const QByteArray head(reinterpret_cast<const char*>(header.bytes().data()), 8);
        for (int n = 1; n <= files; ++n) {
            QFile file(dir.file(QString::asprintf("%04d_%03d.DAT", n, n % 1000)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(head);
        }
        const QString chosen = dir.file(QStringLiteral("0001_001.DAT"));
        CardFolder::writeRecording(chosen, {2009, 5, 2, 10, 0, 0});

        TestWindow window;
        window.openData(chosen, false);
        if (files == 1000) {
            EXPECT_TRUE(local.shown.empty());
            EXPECT_EQ(window.player()->state(), VideoPlayer::Playing);
            continue;
        }
        ASSERT_EQ(local.shown.size(), 1u);
        EXPECT_EQ(local.shown[0].text, resourceText(5519));
        EXPECT_EQ(local.shown[0].captionId, 5005);
        EXPECT_EQ(local.shown[0].icon, MessageIcon::Warning);
        EXPECT_EQ(local.shown[0].buttons, MessageButtons::OkCancel);
        EXPECT_EQ(window.player()->state(), VideoPlayer::Closed);
        EXPECT_TRUE(window.loads.isEmpty()) << "nothing is opened after Cancel";
        EXPECT_EQ(window.windowTitle(), QStringLiteral("KVR-M48C"));
    }
}

// Unreadable files are passed over in the direction of travel, each tried
// once, without a word to the user.
TEST_F(NavigationTest, UnreadableFilesAreSkippedInTheDirectionOfTravel)
{
    struct Case {
        const char* name;
        std::set<int> unreadable;
        int opened;   // the file chosen
        bool stepBack; // then the previous file
        std::vector<int> tried;
    };
    const Case cases[] = {
        {"forward from 3 over 3 and 4", {3, 4}, 3, false, {3, 4, 5}},
        {"backward from 6 over 5 and 4", {4, 5}, 6, true, {6, 5, 4, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxRecorder local;
        CardFolder card(7, c.unreadable);
        TestWindow window;
        window.openData(card.path(c.opened), false);
        if (c.stepBack)
            window.openAdjacentFile(true);

        QStringList tried;
        for (int n : c.tried)
            tried << card.path(n);
        EXPECT_EQ(window.loads, tried);
        const int last = c.tried.back();
        EXPECT_EQ(window.player()->state(), VideoPlayer::Playing);
        EXPECT_EQ(window.player()->dataFilePath(), card.path(last));
        EXPECT_EQ(window.player()->entryIndex(), last - 1);
        EXPECT_EQ(window.windowTitle(), titleFor(card.path(last)));
        EXPECT_TRUE(local.shown.empty());
    }
}

TEST_F(NavigationTest, NothingReadableShowsCannotReadOnce)
{
    struct Case {
        const char* name;
        std::function<QString(const CardFolder&)> chosen;
        bool previous;
        QStringList tried; // names
    };
    const Case cases[] = {
        {"forward to the last file", [](const CardFolder& c) { return c.path(2); }, false,
         {CardFolder::name(2), CardFolder::name(3)}},
        {"backward to the first file", [](const CardFolder& c) { return c.path(2); }, true,
         {CardFolder::name(2), CardFolder::name(1)}},
        {"a single file", [](const CardFolder& c) {
             QFile::copy(c.path(3), c.folder() + QStringLiteral("/single.dat"));
             return c.folder() + QStringLiteral("/single.dat");
         }, false, {QStringLiteral("single.dat")}},
        {"a file that is not there", [](const CardFolder& c) { return c.folder() + QStringLiteral("/gone.dat"); },
         false, {QStringLiteral("gone.dat")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxRecorder local;
        CardFolder card(3, {1, 2, 3});
        TestWindow window;
        window.show();
        window.showStartLogo();
        window.openData(c.chosen(card), c.previous);

        ASSERT_EQ(local.shown.size(), 1u);
        EXPECT_EQ(local.shown[0].text, kCannotRead);
        EXPECT_EQ(local.shown[0].captionId, 5005);
        EXPECT_EQ(local.shown[0].icon, MessageIcon::Warning);
        QStringList tried;
        for (const QString& name : c.tried)
            tried << card.folder() + '/' + name;
        EXPECT_EQ(window.loads, tried);
        EXPECT_EQ(window.player()->state(), VideoPlayer::Closed);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("KVR-M48C"));
        EXPECT_EQ(window.startLogo(), nullptr) << "a failed open removes the start logo too";
    }
}

TEST_F(NavigationTest, FolderScanFailureShowsCannotRead)
{
    CardFolder card(2);
    QFile truncated(card.folder() + QStringLiteral("/0009_009.DAT"));
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
    truncated.write("abc"); // too short for the scan
    truncated.close();
    TestWindow window;
    window.openData(card.path(1), false);
    EXPECT_EQ(texts(boxes), std::vector<QString>{kCannotRead});
    EXPECT_TRUE(window.loads.isEmpty());
    EXPECT_EQ(window.player()->state(), VideoPlayer::Closed);
}

TEST_F(NavigationTest, FirstOpenRemovesTheStartLogo)
{
    CardFolder card(1);
    TestWindow window;
    window.show();
    window.showStartLogo();
    ASSERT_NE(window.startLogo(), nullptr);
    window.openData(card.path(1), false);
    EXPECT_EQ(window.startLogo(), nullptr);
    EXPECT_EQ(window.player()->state(), VideoPlayer::Playing);
}

TEST_F(NavigationTest, OpenCommandStartsInTheDataPathAndOpensTheChoice)
{
    CardFolder card(2);
    QStringList startFolders;
    std::optional<QString> answer;
    const DataFileChooserPresenter previous =
        setDataFileChooserPresenter([&](QWidget*, const QString& folder) {
            startFolders << folder;
            return answer;
        });
    TestWindow window;
    const QString programFolder = window.dataPath;

    window.runCommand(MainWindow::OpenCommand); // cancelled
    EXPECT_EQ(window.player()->state(), VideoPlayer::Closed);
    EXPECT_EQ(window.dataPath, programFolder);

    answer = card.path(2);
    window.runCommand(MainWindow::OpenCommand);
    EXPECT_EQ(window.player()->state(), VideoPlayer::Playing);
    EXPECT_EQ(window.windowTitle(), titleFor(card.path(2)));

    answer.reset();
    window.runCommand(MainWindow::OpenCommand);
    EXPECT_EQ(window.player()->state(), VideoPlayer::Paused) << "the command pauses playback";
    EXPECT_EQ(startFolders, QStringList({programFolder, programFolder, card.path(2)}));
    EXPECT_TRUE(boxes.shown.empty());
    setDataFileChooserPresenter(previous);
}

TEST_F(NavigationTest, ExitWithARecordingOpenAsks)
{
    CardFolder card(1);
    auto* window = new TestWindow;
    QPointer<TestWindow> alive(window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->openData(card.path(1), false);

    boxes.answers = {MessageAnswer::Cancel};
    window->runCommand(MainWindow::ExitCommand);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(alive.isNull());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, resourceText(5059));
    EXPECT_EQ(boxes.shown[0].captionId, 5013);
    EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(window->player()->state(), VideoPlayer::Paused);

    window->runCommand(MainWindow::ExitCommand); // OK this time
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
    EXPECT_EQ(boxes.shown.size(), 2u);
}
