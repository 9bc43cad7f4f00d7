#include "PanelTestKit.h"

#include "ui/controls/ImageButton.h"
#include "ui/controls/PlayButton.h"
#include "ui/controls/PlayTrackBar.h"
#include "ui/controls/TrackToolTip.h"
#include "ui/panels/ConsolePanel.h"

#include <QDir>

using namespace panels_test;

namespace {

class ConsolePanelTest : public PanelTest {
protected:
    ConsolePanel& panel() { return *window.consolePanel(); }
    PlayTrackBar& bar() { return *panel().positionBar(); }

    std::vector<ImageButton*> sixButtons()
    {
        return {panel().playButton(),         panel().stopButton(),     panel().previousDateButton(),
                panel().nextDateButton(),     panel().previousFileButton(), panel().nextFileButton()};
    }

    // A 40-frame recording with event marks on frames 5 and 20, opened.
    void openFortyFrames()
    {
        const QString path = dir.file("0001_001.DAT");
        writeRecording(path, {2009, 5, 2, 10, 0, 0}, 40, {5, 20});
        openInFolder(path);
    }

    // A point on the bar whose press puts the thumb's left edge at `x`.
    static QPoint at(int x) { return {x, 15}; }
};

TEST_F(ConsolePanelTest, NothingOpenLeavesTheSixButtonsDisabledAndTheRangeEmpty)
{
    panel().refreshControls();
    for (ImageButton* button : sixButtons())
        EXPECT_FALSE(button->isOwnEnabled()) << button->toolTip().toStdString();
    EXPECT_EQ(bar().minimum(), 0);
    EXPECT_EQ(bar().maximum(), 0);
    EXPECT_EQ(bar().value(), 0);
    EXPECT_TRUE(bar().marks().empty());
    EXPECT_TRUE(bar().isOwnEnabled()) << "the main window shows the controls at start";
    EXPECT_TRUE(bar().isVisible());

    // Painting reads nothing from the player: a stale look stays until the owner refreshes.
    panel().stopButton()->setOwnEnabled(true);
    panel().grab();
    EXPECT_TRUE(panel().stopButton()->isOwnEnabled());
    panel().refreshControls();
    EXPECT_FALSE(panel().stopButton()->isOwnEnabled());
}

TEST_F(ConsolePanelTest, StopNeedsAFrameAfterTheFirstAndPlayTogglesWithThePlayer)
{
    openFortyFrames();
    ASSERT_EQ(player().state(), VideoPlayer::Stopped);
    EXPECT_TRUE(panel().playButton()->isOwnEnabled());
    EXPECT_EQ(panel().playButton()->mode(), 0);
    EXPECT_FALSE(panel().stopButton()->isOwnEnabled()) << "frame 0";
    EXPECT_EQ(bar().maximum(), 39);
    EXPECT_EQ(bar().marks(), (std::vector<int>{5, 20}));

    player().seek(10);
    EXPECT_TRUE(panel().stopButton()->isOwnEnabled());
    EXPECT_EQ(bar().value(), 10);
    player().seek(500);
    EXPECT_EQ(bar().value(), 39) << "the last frame";

    click(*panel().stopButton());
    EXPECT_EQ(player().currentFrame(), 0);
    EXPECT_EQ(player().state(), VideoPlayer::Stopped);
    EXPECT_FALSE(panel().stopButton()->isOwnEnabled());
    EXPECT_EQ(bar().value(), 0);

    click(*panel().playButton());
    EXPECT_EQ(player().state(), VideoPlayer::Playing);
    EXPECT_EQ(panel().playButton()->mode(), 1) << "pause pictures while playing";
    click(*panel().playButton());
    EXPECT_EQ(player().state(), VideoPlayer::Paused);
    EXPECT_EQ(panel().playButton()->mode(), 0);
    click(*panel().playButton());
    EXPECT_EQ(player().state(), VideoPlayer::Playing);

    player().close();
    panel().refreshControls();
    for (ImageButton* button : sixButtons())
        EXPECT_FALSE(button->isOwnEnabled());
    EXPECT_EQ(bar().maximum(), 0);
    EXPECT_TRUE(bar().marks().empty());
}

TEST_F(ConsolePanelTest, ADisabledPanelIsNotRefreshed)
{
    panel().refreshControls();
    panel().setOwnEnabled(false);
    openFortyFrames();
    player().seek(10);
    for (ImageButton* button : sixButtons())
        EXPECT_FALSE(button->isOwnEnabled());
    EXPECT_EQ(bar().maximum(), 0);

    panel().setOwnEnabled(true);
    panel().refreshControls();
    EXPECT_TRUE(panel().playButton()->isOwnEnabled());
    EXPECT_TRUE(panel().stopButton()->isOwnEnabled());
    EXPECT_EQ(bar().maximum(), 39);
    EXPECT_EQ(bar().value(), 10);
}

// File buttons need another file on their side; date buttons another local
// calendar date there. The dates are local (TZ=Asia/Tokyo): 08:30 on the
// 2nd is still the 1st in UTC.
TEST_F(ConsolePanelTest, FileAndDateButtonsFollowTheCatalogue)
{
    const LocalDateTime times[] = {
        {2009, 5, 1, 23, 59, 59}, {2009, 5, 2, 0, 0, 0}, {2009, 5, 2, 8, 30, 0}, {2009, 5, 2, 23, 59, 59}};
    QStringList paths;
    for (int i = 0; i < 4; ++i) {
        paths << dir.file(QStringLiteral("0001_%1.DAT").arg(i + 1, 3, 10, QLatin1Char('0')));
        writeRecording(paths.back(), times[i], 3);
    }
    const QString sameDay = dir.file(QStringLiteral("sameday"));
    ASSERT_TRUE(QDir().mkpath(sameDay));
    QStringList sameDayPaths;
    for (int i = 0; i < 3; ++i) {
        sameDayPaths << sameDay + QStringLiteral("/0002_00%1.DAT").arg(i + 1);
        writeRecording(sameDayPaths.back(), {2009, 6, 7, 9 + i, 0, 0}, 3);
    }

    const struct {
        QString path;
        bool previousDate, nextDate, previousFile, nextFile;
    } cases[] = {
        {paths[0], false, true, false, true},
        {paths[1], true, false, true, true},
        {paths[2], true, false, true, true},
        {paths[3], true, false, true, false},
        {sameDayPaths[0], false, false, false, true},
        {sameDayPaths[1], false, false, true, true},
        {sameDayPaths[2], false, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        openInFolder(c.path);
        EXPECT_EQ(player().dataFilePath(), c.path);
        EXPECT_EQ(panel().previousDateButton()->isOwnEnabled(), c.previousDate);
        EXPECT_EQ(panel().nextDateButton()->isOwnEnabled(), c.nextDate);
        EXPECT_EQ(panel().previousFileButton()->isOwnEnabled(), c.previousFile);
        EXPECT_EQ(panel().nextFileButton()->isOwnEnabled(), c.nextFile);
    }

    // A file opened alone has no neighbours, whatever lies beside it.
    player().setSingleFile(paths[1]);
    ASSERT_TRUE(player().openEntry(0));
    for (ImageButton* button : {panel().previousDateButton(), panel().nextDateButton(),
                                panel().previousFileButton(), panel().nextFileButton()})
        EXPECT_FALSE(button->isOwnEnabled());
}

TEST_F(ConsolePanelTest, FileAndDateButtonsStepThroughTheFolder)
{
    const LocalDateTime times[] = {{2009, 5, 1, 10, 0, 0}, {2009, 5, 2, 9, 0, 0}, {2009, 5, 2, 10, 0, 0}};
    QStringList paths;
    for (int i = 0; i < 3; ++i) {
        paths << dir.file(QStringLiteral("0001_00%1.DAT").arg(i + 1));
        writeRecording(paths.back(), times[i], 3);
    }
    openInFolder(paths[0]);

    const struct {
        ImageButton* button;
        int entry;
    } steps[] = {
        {panel().nextFileButton(), 1},     {panel().nextFileButton(), 2}, {panel().previousDateButton(), 0},
        {panel().nextDateButton(), 1},     {panel().previousFileButton(), 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.button->toolTip().toStdString());
        ASSERT_TRUE(step.button->isOwnEnabled());
        click(*step.button);
        EXPECT_EQ(player().entryIndex(), step.entry);
        EXPECT_EQ(player().dataFilePath(), paths[step.entry]);
        EXPECT_EQ(player().state(), VideoPlayer::Playing);
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ConsolePanelTest, MarksAreClearedForARecordingWithoutFrames)
{
    openFortyFrames();
    ASSERT_EQ(bar().marks(), (std::vector<int>{5, 20}));

    const QString empty = dir.file("0001_002.DAT");
    writeSoundOnlyRecording(empty, {2009, 5, 2, 11, 0, 0});
    openInFolder(empty);
    ASSERT_NE(player().info(), nullptr);
    ASSERT_EQ(player().info()->frameCount(), 0);
    EXPECT_TRUE(bar().marks().empty());
    EXPECT_EQ(bar().maximum(), 0);
    EXPECT_TRUE(panel().playButton()->isOwnEnabled());
    EXPECT_FALSE(panel().stopButton()->isOwnEnabled());
}

// Dragging seeks on press and at every notification, leaving the player
// stopped; only a drag that began during playback plays on from the release.
TEST_F(ConsolePanelTest, DragFollowsTheThumbAndPlaysOnOnlyAfterPlayback)
{
    const struct {
        const char* name;
        VideoPlayer::State atPress, afterRelease;
    } cases[] = {
        {"playing", VideoPlayer::Playing, VideoPlayer::Playing},
        {"paused", VideoPlayer::Paused, VideoPlayer::Stopped},
        {"stopped", VideoPlayer::Stopped, VideoPlayer::Stopped},
    };
    openFortyFrames();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        player().seek(0);
        if (c.atPress != VideoPlayer::Stopped)
            player().playFrom(0);
        if (c.atPress == VideoPlayer::Paused)
            player().pause();
        ASSERT_EQ(player().state(), c.atPress);

        press(bar(), at(100));
        const int pressed = bar().value();
        ASSERT_GT(pressed, 0);
        EXPECT_EQ(player().currentFrame(), pressed);
        EXPECT_EQ(player().state(), VideoPlayer::Stopped) << "the picture follows with the sound stopped";

        moveTo(bar(), at(300));
        const int moved = bar().value();
        ASSERT_GT(moved, pressed);
        EXPECT_EQ(player().currentFrame(), pressed) << "moves alone do not seek";
        ASSERT_TRUE(timers.fire(bar(), ImageTrackBar::kNotifyTimer));
        EXPECT_EQ(player().currentFrame(), moved);
        EXPECT_EQ(bar().value(), moved);

        release(bar(), at(200));
        const int released = bar().value();
        EXPECT_EQ(player().state(), c.afterRelease);
        // Playing moves one frame ahead once a picture has arrived.
        EXPECT_GE(player().currentFrame(), released);
        EXPECT_LE(player().currentFrame(), released + 1);
        EXPECT_EQ(panel().playButton()->mode(), c.afterRelease == VideoPlayer::Playing ? 1 : 0);
    }
}

TEST_F(ConsolePanelTest, DragEndingAfterTheRecordingClosedDoesNotPlay)
{
    openFortyFrames();
    player().playFrom(0);
    press(bar(), at(100));
    player().close();
    release(bar(), at(200));
    EXPECT_EQ(player().state(), VideoPlayer::Closed);
    panel().refreshControls();
    EXPECT_EQ(bar().maximum(), 0);
    EXPECT_FALSE(panel().playButton()->isOwnEnabled());
}

TEST_F(ConsolePanelTest, ResizingChangesOnlyThePositionBarWidth)
{
    const std::vector<std::pair<QWidget*, QRect>> fixed = {
        {panel().playButton(), {23, 11, 40, 40}},         {panel().stopButton(), {67, 18, 26, 26}},
        {panel().previousDateButton(), {107, 17, 30, 30}}, {panel().nextDateButton(), {140, 17, 30, 30}},
        {panel().previousFileButton(), {198, 22, 22, 22}}, {panel().nextFileButton(), {220, 22, 22, 22}},
    };
    for (const int width : {1000, 1200, 800}) {
        window.clientArea()->resize(width, 700);
        ASSERT_EQ(panel().width(), width);
        EXPECT_EQ(bar().geometry(), QRect(249, 26, width - 344, 30)) << width;
        for (const auto& [control, place] : fixed)
            EXPECT_EQ(control->geometry(), place) << width;
    }
}

TEST_F(ConsolePanelTest, BackgroundHasAnEnabledAndADisabledLook)
{
    window.clientArea()->resize(1000, 700);
    // Right edge, below the children: the right picture, then its disabled counterpart.
    const auto pixelOf = [](int id, int x, int y) {
        const AlphaImage picture(id);
        const std::uint8_t* p = picture.image()->memoryRow(picture.height() - 1 - y) + 4 * x;
        return qRgb(p[2], p[1], p[0]);
    };
    const auto shown = [&] { return panel().grab().toImage().pixel(panel().width() - 1, 60); };
    EXPECT_EQ(shown(), pixelOf(222, 399, 60));
    panel().setOwnEnabled(false);
    EXPECT_EQ(shown(), pixelOf(425, 73, 60));
    EXPECT_EQ(panel().grab().toImage().pixel(10, 60), pixelOf(223, 10, 60)) << "the left picture in both looks";
}

TEST_F(ConsolePanelTest, TipsAndTheFileButtonsLaterTips)
{
    const TrackToolTip& tips = *panel().tips();
    EXPECT_EQ(tips.toolText(panel().playButton()), u"再生/一時停止"_qs);
    EXPECT_EQ(tips.toolText(panel().stopButton()), u"停止"_qs);
    EXPECT_EQ(tips.toolText(panel().previousDateButton()), u"前の日付へ"_qs);
    EXPECT_EQ(tips.toolText(panel().nextDateButton()), u"次の日付へ"_qs);
    EXPECT_EQ(tips.toolText(panel().previousFileButton()), u"コマ戻し"_qs);
    EXPECT_EQ(tips.toolText(panel().nextFileButton()), u"コマ送り"_qs);
    EXPECT_EQ(tips.toolText(panel().positionBar()), QString()) << "the position bar has no tip";

    panel().setFileButtonTips(2);
    EXPECT_EQ(panel().previousFileButton()->toolTip(), u"前へ"_qs);
    EXPECT_EQ(panel().nextFileButton()->toolTip(), u"次へ"_qs);
    panel().setFileButtonTips(1);
    EXPECT_EQ(panel().previousFileButton()->toolTip(), u"コマ戻し"_qs);
    EXPECT_EQ(panel().nextFileButton()->toolTip(), u"コマ送り"_qs);
}

TEST_F(ConsolePanelTest, ShowControlsHidesTheFileButtonsAndTheBar)
{
    panel().showControls(false);
    for (ImageButton* button : sixButtons())
        EXPECT_FALSE(button->isOwnEnabled());
    EXPECT_FALSE(bar().isOwnEnabled());
    EXPECT_TRUE(panel().previousFileButton()->isHidden());
    EXPECT_TRUE(panel().nextFileButton()->isHidden());
    EXPECT_TRUE(bar().isHidden());
    EXPECT_FALSE(panel().playButton()->isHidden());
    EXPECT_FALSE(panel().previousDateButton()->isHidden());

    panel().showControls(true);
    for (ImageButton* button : sixButtons())
        EXPECT_TRUE(button->isOwnEnabled());
    EXPECT_TRUE(bar().isOwnEnabled());
    EXPECT_TRUE(bar().isVisible());
    EXPECT_TRUE(panel().nextFileButton()->isVisible());
}

} // namespace
