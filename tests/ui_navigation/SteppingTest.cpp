#include "NavigationFixtures.h"

#include "ui/controls/PlayTrackBar.h"
#include "ui/panels/ConsolePanel.h"

using namespace navigation;

namespace {

// Files 1 and 2 on the 1st, 3 and 4 on the 2nd, 5 on the 3rd of the month.
int twoPerDay(int n)
{
    return (n + 1) / 2;
}

} // namespace

TEST_F(NavigationTest, FileStepsPastEitherEndKeepTheRecording)
{
    struct Case {
        int opened;
        bool previous;
        int text;
    };
    for (const Case c : {Case{3, false, 5065}, Case{1, true, 5066}}) {
        SCOPED_TRACE(c.text);
        MessageBoxRecorder local;
        CardFolder card(3);
        TestWindow window;
        window.openData(card.path(c.opened), false);
        window.loads.clear();
        window.openAdjacentFile(c.previous);

        ASSERT_EQ(local.shown.size(), 1u);
        EXPECT_EQ(local.shown[0].text, resourceText(c.text));
        EXPECT_EQ(local.shown[0].captionId, 5005);
        EXPECT_EQ(local.shown[0].icon, MessageIcon::Warning);
        EXPECT_TRUE(window.loads.isEmpty());
        EXPECT_NE(window.player()->info(), nullptr);
        EXPECT_EQ(window.player()->dataFilePath(), card.path(c.opened));
        EXPECT_EQ(window.player()->state(), VideoPlayer::Paused);
        EXPECT_EQ(window.windowTitle(), titleFor(card.path(c.opened)));
    }
}

TEST_F(NavigationTest, FileStepsOnASingleFileHaveNowhereToGo)
{
    CardFolder card(1);
    const QString single = card.folder() + QStringLiteral("/single.dat");
    ASSERT_TRUE(QFile::copy(card.path(1), single));
    TestWindow window;
    window.openData(single, false);
    window.openAdjacentFile(false);
    window.openAdjacentFile(true);
    EXPECT_EQ(texts(boxes), (std::vector<QString>{resourceText(5065), resourceText(5066)}));
    EXPECT_EQ(window.loads, QStringList{single});
    EXPECT_EQ(window.player()->dataFilePath(), single);
}

TEST_F(NavigationTest, NextFileOpensAndPlaysTheNeighbour)
{
    CardFolder card(3);
    TestWindow window;
    window.openData(card.path(1), false);
    window.player()->seek(5);
    ASSERT_EQ(window.consolePanel()->positionBar()->value(), 5);
    window.openAdjacentFile(false);
    EXPECT_EQ(window.consolePanel()->positionBar()->value(), 0);
    EXPECT_EQ(window.player()->dataFilePath(), card.path(2));
    EXPECT_EQ(window.player()->state(), VideoPlayer::Playing);
    EXPECT_EQ(window.windowTitle(), titleFor(card.path(2)));
    window.openAdjacentFile(true);
    EXPECT_EQ(window.player()->dataFilePath(), card.path(1));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(NavigationTest, DateStepsOpenTheFirstFileOfTheAdjacentDate)
{
    CardFolder card(5, {}, twoPerDay);
    TestWindow window;
    window.openData(card.path(1), false);

    window.openAdjacentDate(false);
    EXPECT_EQ(window.player()->dataFilePath(), card.path(3));
    EXPECT_EQ(window.dataPath, card.path(3));
    EXPECT_EQ(window.windowTitle(), titleFor(card.path(3)));
    EXPECT_EQ(window.player()->state(), VideoPlayer::Playing);

    window.openData(card.path(4), false);
    window.openAdjacentDate(true);
    EXPECT_EQ(window.player()->dataFilePath(), card.path(1));
    EXPECT_EQ(window.windowTitle(), titleFor(card.path(1)));
    EXPECT_EQ(window.player()->state(), VideoPlayer::Playing);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(NavigationTest, NoAdjacentDateIsToldOnceByThePlayer)
{
    CardFolder card(4, {}, twoPerDay);
    TestWindow window;
    window.openData(card.path(3), false);
    window.openAdjacentDate(false);
    EXPECT_EQ(texts(boxes), std::vector<QString>{resourceText(5065)});
    EXPECT_EQ(window.player()->dataFilePath(), card.path(3));
    EXPECT_EQ(window.player()->state(), VideoPlayer::Paused);
    EXPECT_EQ(window.windowTitle(), titleFor(card.path(3)));
}

TEST_F(NavigationTest, DateStepThatCannotOpenShowsItsMessage)
{
    // The 1st holds only unreadable files: stepping back from the 2nd fails.
    CardFolder card(4, {1, 2}, twoPerDay);
    TestWindow window;
    window.openData(card.path(3), false);
    window.openAdjacentDate(true);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, resourceText(5510));
    EXPECT_EQ(boxes.shown[0].captionId, 5005);
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(window.player()->state(), VideoPlayer::Closed);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("KVR-M48C"));
}

TEST_F(NavigationTest, RemovedCardClosesEverythingWithOneMessage)
{
    CardFolder card(2);
    TestWindow window;
    window.show();
    window.openData(card.path(1), false);
    ASSERT_TRUE(QDir(card.folder()).removeRecursively());

    window.player()->seek(5); // asks for another frame
    window.player()->seek(2);
    window.openAdjacentFile(false);

    EXPECT_EQ(boxes.shown.front().text, resourceText(5078));
    EXPECT_EQ(boxes.shown.front().captionId, 5005);
    EXPECT_EQ(boxes.shown.front().owner, &window);
    EXPECT_EQ(std::count_if(boxes.shown.begin(), boxes.shown.end(),
                            [](const auto& box) { return box.text == resourceText(5078); }),
              1);
    EXPECT_EQ(window.player()->state(), VideoPlayer::Closed);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("KVR-M48C"));
}
