#include "playback/view/VideoPlayer.h"

#include "errors/Exception.h"
#include "imaging/ImageCodecs.h"
#include "playback/FakeWaveOutDevice.h"
#include "playback/SoundEvents.h"
#include "recording/VideoInfo.h"
#include "support/QtApp.h"
#include "support/RecordingFixtures.h"
#include "support/EventLoop.h"
#include "support/TempDir.h"
#include "support/UiRecorders.h"
#include "text/TextTable.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

// Stands in for the main window: remembers what the player asked of it.
class HostSpy : public IPlayerHost {
public:
    void refreshPlaybackDisplay() override { ++refreshes; }
    void openAdjacentFile(bool previous) override { adjacentFiles.push_back(previous); }
    void closeAll() override
    {
        ++closeAlls;
        if (player)
            player->close();
    }
    void setLoading(bool loading) override { loadingCalls.push_back(loading); }
    void recordingDisplaysChanged() override { ++displayResets; }
    QWidget* messageOwner() override { return &owner; }

    QWidget owner;
    VideoPlayer* player = nullptr;
    int refreshes = 0;
    int closeAlls = 0;
    int displayResets = 0;
    std::vector<bool> adjacentFiles;
    std::vector<bool> loadingCalls;
};

struct RecordingPlan {
    int frames = 10;
    bool sound = true;
    RecordingFormat::LocalDateTime start{2026, 11, 20, 8, 0, 0};
};

// Pictures of distinct widths (frame i is 16 + i pixels wide), one second of
// sound per 28 frames.
void writeRecording(const QString& path, const RecordingPlan& plan)
{
    RecordingWriter writer({plan.start, 0, 7});
    for (int i = 0; i < plan.frames; ++i) {
        RecordingWriter::PictureFields fields;
        fields.counter = static_cast<std::uint32_t>(10'000 + std::ceil(i * 1000.0 / 28));
        fields.dateTime = plan.start;
        fields.event = i == 3;
        writer.addPicture(encodeJpeg(*Image::create(16 + i, 12), 70), fields);
    }
    if (plan.sound) {
        const int bytes = plan.frames * 13183 / 28;
        for (int at = 0; at < bytes; at += 4096) {
            const std::vector<std::uint8_t> samples(static_cast<std::size_t>(std::min(4096, bytes - at)), 0x90);
            writer.addSound(static_cast<std::uint32_t>(10'000 + at * 1000.0 / 13183), samples);
        }
    }
    writer.save(path);
}

class VideoPlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qtApp(); }

    VideoPlayerTest()
    {
        auto device = std::make_unique<FakeWaveOutDevice>();
        sound = device.get();
        player = new VideoPlayer(&host.owner, host, std::move(device));
        host.player = player;
        player->resize(640, 480);
    }

    QString recording(const QString& name, const RecordingPlan& plan = {})
    {
        const QString path = dir.file(name);
        writeRecording(path, plan);
        return path;
    }

    // Opens a single file and waits for its first picture.
    void openSingle(const RecordingPlan& plan = {})
    {
        ASSERT_TRUE(player->openEntry(player->setSingleFile(recording("clip.avi", plan))));
        ASSERT_TRUE(processUntil([&] { return player->currentImage() != nullptr; }));
    }

    void tick()
    {
        QEvent tickEvent(LoaderEvent::Tick);
        QCoreApplication::sendEvent(player, &tickEvent);
    }

    // The device reports this much sound as heard.
    void hear(int ms) { sound->played = static_cast<std::uint64_t>(ms) * 13183 / 1000; }

    TempDir dir;
    MessageBoxRecorder boxes;
    HostSpy host;
    FakeWaveOutDevice* sound = nullptr;
    VideoPlayer* player = nullptr; // a child of host.owner
};

} // namespace

TEST(VideoPlayerLetterbox, FitsA4To3PictureCentred)
{
    struct Case {
        QSize client;
        QRect picture;
    } const cases[] = {
        {{640, 480}, {0, 0, 640, 480}},   {{644, 485}, {0, 1, 644, 483}}, {{800, 480}, {80, 0, 640, 480}},
        {{640, 600}, {0, 60, 640, 480}},  {{770, 545}, {22, 0, 726, 545}}, {{641, 481}, {0, 0, 641, 480}},
        {{3, 3}, {0, 0, 3, 2}},           {{0, 0}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VideoPlayer::letterbox(c.client), c.picture) << c.client.width() << "x" << c.client.height();
}

TEST_F(VideoPlayerTest, OpensStoppedWithTheFirstPictureAndTheMenusBack)
{
    openSingle();
    EXPECT_EQ(player->state(), VideoPlayer::Stopped);
    EXPECT_EQ(player->info()->frameCount(), 10);
    EXPECT_EQ(player->currentImage()->width(), 16);
    EXPECT_EQ(host.loadingCalls, (std::vector<bool>{true, false}));
    EXPECT_EQ(player->entryCount(), 0);
    EXPECT_TRUE(sound->isOpen);
}

TEST_F(VideoPlayerTest, PlayAndResumeDoNothingWhileClosed)
{
    player->playFrom(3);
    player->resume();
    EXPECT_EQ(player->state(), VideoPlayer::Closed);
    EXPECT_EQ(host.refreshes, 0);
}

TEST_F(VideoPlayerTest, TheSoundPositionIsTheClock)
{
    openSingle({28 * 3, true});
    player->playFrom(0);
    EXPECT_EQ(player->state(), VideoPlayer::Playing);
    hear(1000);
    tick();
    EXPECT_EQ(player->currentFrame(), 28 + 1) << "one ahead of the clock: the next picture is requested early";
    hear(2000);
    tick();
    EXPECT_EQ(player->currentFrame(), 57);
}

TEST_F(VideoPlayerTest, WithoutSoundTheWallClockPacesAndTheEndStops)
{
    sound->openSucceeds = false;
    openSingle({8, true});
    player->playFrom(0);
    ASSERT_TRUE(processUntil([&] { return player->state() == VideoPlayer::Stopped; }, 3000));
    EXPECT_EQ(player->currentFrame(), 7) << "clamped to the last frame before the displays refresh";
    EXPECT_TRUE(host.adjacentFiles.empty()) << "a single file does not continue";
}

TEST_F(VideoPlayerTest, SeekClampsStopsAndIgnoresTheCurrentFrame)
{
    openSingle();
    player->playFrom(0);
    player->seek(100);
    EXPECT_EQ(player->state(), VideoPlayer::Stopped);
    EXPECT_EQ(player->currentFrame(), 9);
    player->seek(-4);
    EXPECT_EQ(player->currentFrame(), 0);
    const int refreshes = host.refreshes;
    player->seek(0);
    EXPECT_EQ(host.refreshes, refreshes) << "a seek to the current frame does nothing";
    ASSERT_TRUE(processUntil([&] { return player->currentImage()->width() == 16; }));
}

TEST_F(VideoPlayerTest, AtTheEndOfACatalogueEntryTheNextFileFollowsOnlyWhilePlaying)
{
    recording("0001_001.DAT", {5, true, {2026, 11, 20, 8, 0, 0}});
    recording("0001_002.DAT", {5, true, {2026, 11, 20, 8, 1, 0}});
    const int start = player->loadCatalogue(dir.file("0001_001.DAT"));
    ASSERT_EQ(player->entryCount(), 2);
    ASSERT_TRUE(player->openEntry(start));
    ASSERT_TRUE(processUntil([&] { return player->currentImage() != nullptr; }));
    player->playFrom(4);
    tick(); // at the last frame, sound still playing: wait for it
    EXPECT_EQ(player->state(), VideoPlayer::Playing);
    EXPECT_TRUE(host.adjacentFiles.empty());

    // Paused after the end was reached: the sound's end does not continue.
    player->pause();
    QEvent finished(SoundEvent::Finished);
    QCoreApplication::sendEvent(player, &finished);
    EXPECT_TRUE(host.adjacentFiles.empty());

    // Playing to the end without sound continues with the next file.
    sound->openSucceeds = false;
    ASSERT_TRUE(player->openEntry(0));
    ASSERT_TRUE(processUntil([&] { return player->currentImage() != nullptr; }));
    player->playFrom(4);
    ASSERT_TRUE(processUntil([&] { return !host.adjacentFiles.empty(); }, 3000));
    EXPECT_EQ(host.adjacentFiles, std::vector<bool>{false});
    EXPECT_EQ(player->state(), VideoPlayer::Stopped);
}

TEST_F(VideoPlayerTest, RemovedCardClosesEverythingAndTellsOnce)
{
    QDir(dir.path()).mkdir("card");
    const QString path = dir.file("card/0001_001.DAT");
    writeRecording(path, {});
    ASSERT_TRUE(player->openEntry(player->loadCatalogue(path)));
    ASSERT_TRUE(QDir(dir.file("card")).removeRecursively());
    player->seek(5);
    EXPECT_EQ(host.closeAlls, 1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, resourceText(5078));
    EXPECT_EQ(boxes.shown[0].owner, &host.owner);
    EXPECT_EQ(player->state(), VideoPlayer::Closed);
}

TEST_F(VideoPlayerTest, PreviousDateOpensEachEntryOnceAndRaisesOnlyWhenNothingOpens)
{
    // Dates: 18th (two files), 19th (unreadable first, then readable), 20th (current).
    recording("0001_001.DAT", {4, false, {2026, 11, 18, 9, 0, 0}});
    recording("0001_002.DAT", {4, false, {2026, 11, 18, 9, 1, 0}});
    fixture::writeFile(dir.file("0001_003.DAT"), {0x00, 0x00, 0x26, 0x11, 0x19, 0x08, 0x00, 0x00});
    recording("0001_004.DAT", {4, false, {2026, 11, 19, 9, 1, 0}});
    recording("0001_005.DAT", {4, false, {2026, 11, 20, 9, 0, 0}});
    ASSERT_TRUE(player->openEntry(player->loadCatalogue(dir.file("0001_005.DAT"))));
    ASSERT_EQ(player->entryIndex(), 4);

    player->gotoAdjacentDate(true);
    EXPECT_EQ(player->entryIndex(), 3) << "the 19th's unreadable first file is skipped for its other file";
    EXPECT_TRUE(boxes.shown.empty());

    player->gotoAdjacentDate(true);
    EXPECT_EQ(player->entryIndex(), 0) << "the first file of the 18th";

    EXPECT_THROW(player->gotoAdjacentDate(true), Exception);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, resourceText(5066));
    EXPECT_NE(player->state(), VideoPlayer::Closed) << "the open recording stays";
}

TEST_F(VideoPlayerTest, NextDateSkipsTheSameDateAndWarnsAtTheEnd)
{
    recording("0001_001.DAT", {4, false, {2026, 11, 20, 9, 0, 0}});
    recording("0001_002.DAT", {4, false, {2026, 11, 20, 9, 1, 0}});
    recording("0001_003.DAT", {4, false, {2026, 11, 21, 9, 0, 0}});
    ASSERT_TRUE(player->openEntry(player->loadCatalogue(dir.file("0001_001.DAT"))));
    player->gotoAdjacentDate(false);
    EXPECT_EQ(player->entryIndex(), 2);
    player->playFrom(0);
    EXPECT_THROW(player->gotoAdjacentDate(false), Exception);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, resourceText(5065));
    EXPECT_EQ(player->state(), VideoPlayer::Paused);
}

TEST_F(VideoPlayerTest, BrightnessChangesTheShownPictureNotTheStoredOne)
{
    openSingle();
    const Image stored = *player->currentImage();
    player->gamma().setGamma(2.0);
    player->repaint();
    EXPECT_EQ(std::memcmp(stored.pixels(), player->currentImage()->pixels(), static_cast<std::size_t>(stored.byteSize())), 0);
}
