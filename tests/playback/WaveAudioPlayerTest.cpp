#include "WaveFixtures.h"

#include "errors/Exception.h"
#include "playback/FakeWaveOutDevice.h"
#include "playback/SoundEvents.h"
#include "playback/WaveAudioPlayer.h"
#include "text/TextTable.h"

#include <gtest/gtest.h>

namespace {

class WaveAudioPlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureCoreApplication(); }

    WaveAudioPlayerTest()
    {
        auto device = std::make_unique<FakeWaveOutDevice>();
        fake = device.get();
        player = std::make_unique<WaveAudioPlayer>(&finished, std::move(device));
    }

    void openSamples(std::vector<std::uint8_t> samples)
    {
        WaveFields f;
        f.samples = std::move(samples);
        data = f.samples;
        player->open(writeBytes(dir, "sound.wav", waveBytes(f)));
    }

    // Lets the device finish its oldest buffer and the player react.
    void completeOne()
    {
        ASSERT_TRUE(fake->completeNext());
        processPending();
    }

    std::vector<std::uint8_t> slice(int from, int to) const { return {data.begin() + from, data.begin() + to}; }

    TempDir dir;
    FinishedCounter finished;
    FakeWaveOutDevice* fake = nullptr;
    std::unique_ptr<WaveAudioPlayer> player;
    std::vector<std::uint8_t> data;
};

} // namespace

TEST_F(WaveAudioPlayerTest, FeedsTwoBuffersAndRefillsEachReturnedOneToTheEnd)
{
    openSamples(countingSamples(10000));
    player->playFrom(0);
    EXPECT_EQ(player->status(), ISoundPlayer::Playing);
    ASSERT_EQ(fake->writes.size(), 2u);
    EXPECT_EQ(fake->writes[0].tag.buffer, 0);
    EXPECT_EQ(fake->writes[0].bytes, slice(0, 2636));
    EXPECT_EQ(fake->writes[1].tag.buffer, 1);
    EXPECT_EQ(fake->writes[1].bytes, slice(2636, 5272));

    completeOne();
    ASSERT_EQ(fake->writes.size(), 3u);
    EXPECT_EQ(fake->writes[2].tag.buffer, 0);
    EXPECT_EQ(fake->writes[2].bytes, slice(5272, 7908));

    completeOne();
    ASSERT_EQ(fake->writes.size(), 4u);
    EXPECT_EQ(fake->writes[3].tag.buffer, 1);
    EXPECT_EQ(fake->writes[3].bytes, slice(7908, 9999));   // the last byte is never played

    completeOne();
    EXPECT_EQ(fake->writes.size(), 4u);
    EXPECT_EQ(finished.count, 0);
    EXPECT_EQ(player->status(), ISoundPlayer::Playing);

    completeOne();
    EXPECT_EQ(finished.count, 1);
    EXPECT_TRUE(player->isFinished());
    EXPECT_EQ(player->status(), ISoundPlayer::Idle);

    processFor(20);
    EXPECT_EQ(finished.count, 1);
    EXPECT_EQ(fake->heldBufferRewritten, 0);
    EXPECT_EQ(fake->heldBufferChanged, 0);
}

TEST_F(WaveAudioPlayerTest, StartsBetweenSamplesAtTheByteBelowAndCountsFromItsTime)
{
    openSamples(countingSamples(20000));
    player->playFrom(500);   // 6591.5 samples in
    ASSERT_EQ(fake->writes.size(), 2u);
    EXPECT_EQ(fake->writes[0].bytes, slice(6591, 7908));   // up to the next multiple of the chunk size
    EXPECT_EQ(fake->writes[1].bytes, slice(7908, 10544));
    EXPECT_EQ(player->startMs(), 499);

    EXPECT_EQ(player->positionMs(), 499);
    fake->played = 1318;
    EXPECT_EQ(player->positionMs(), 499 + 99);
    fake->played = std::nullopt;   // the device cannot tell
    EXPECT_EQ(player->positionMs(), 0);
    fake->played = 1'000'000;      // beyond the sound: the last byte's time
    EXPECT_EQ(player->positionMs(), 499 + 1517);

    player->stop();
    EXPECT_EQ(player->positionMs(), 499);   // the reset device counts from 0
}

TEST_F(WaveAudioPlayerTest, PlayingAtOrBeyondTheEndPostsFinishedAtOnce)
{
    openSamples(countingSamples(1000));
    for (int ms : {76, 100000}) {   // 76 ms is byte 1001, past the last byte (999)
        finished.count = 0;
        player->playFrom(ms);
        EXPECT_EQ(finished.count, 0) << "posted, not delivered inside the call";
        processPending();
        EXPECT_EQ(finished.count, 1) << ms;
        EXPECT_TRUE(player->isFinished());
        EXPECT_EQ(player->status(), ISoundPlayer::Idle);
    }
    EXPECT_TRUE(fake->writes.empty());

    // 75 ms is byte 988, which still feeds the 11 bytes before the last one.
    player->playFrom(75);
    ASSERT_EQ(fake->writes.size(), 1u);
    EXPECT_EQ(fake->writes[0].bytes, slice(988, 999));
}

TEST_F(WaveAudioPlayerTest, SoundShorterThanAChunkPlaysOneBufferThenFinishes)
{
    openSamples(countingSamples(100));
    player->playFrom(0);
    ASSERT_EQ(fake->writes.size(), 1u);
    EXPECT_EQ(fake->writes[0].bytes, slice(0, 99));
    EXPECT_FALSE(player->isFinished());
    completeOne();
    EXPECT_EQ(finished.count, 1);
    EXPECT_TRUE(player->isFinished());
}

TEST_F(WaveAudioPlayerTest, EmptySoundFinishesAtOnce)
{
    openSamples({});
    player->playFrom(0);
    processPending();
    EXPECT_TRUE(fake->writes.empty());
    EXPECT_EQ(finished.count, 1);
    EXPECT_TRUE(player->isFinished());
    EXPECT_EQ(player->positionMs(), 0);
}

TEST_F(WaveAudioPlayerTest, NoticesFromBeforeAResetNeitherRefillNorCount)
{
    openSamples(countingSamples(40000));
    player->playFrom(0);
    player->playFrom(1000);   // the device hands back the first run's buffers, posted
    ASSERT_EQ(fake->writes.size(), 4u);
    EXPECT_EQ(fake->writes[2].bytes, slice(13183, 15816));
    EXPECT_EQ(fake->writes[3].bytes, slice(15816, 18452));
    processPending();
    EXPECT_EQ(fake->writes.size(), 4u) << "a stale notice refilled";
    EXPECT_EQ(finished.count, 0);
    EXPECT_EQ(fake->heldCount(), 2);

    // The new run still plays out to the end, finishing once.
    while (fake->completeNext())
        processPending();
    EXPECT_EQ(finished.count, 1);
    EXPECT_TRUE(player->isFinished());
    EXPECT_EQ(fake->writes.back().bytes.back(), data[39998]);
    EXPECT_EQ(fake->heldBufferRewritten, 0);
    EXPECT_EQ(fake->heldBufferChanged, 0);
}

TEST_F(WaveAudioPlayerTest, PauseThenPlayBeforeTheBuffersComeBackKeepsTheNewRunIntact)
{
    openSamples(countingSamples(40000));
    player->playFrom(0);
    player->pause();
    player->playFrom(2000);
    processPending();
    EXPECT_EQ(finished.count, 0) << "the returned buffers of the paused run announced an idle device";
    EXPECT_EQ(player->status(), ISoundPlayer::Playing);
    EXPECT_EQ(fake->writes.size(), 4u);
    completeOne();
    EXPECT_EQ(fake->writes.size(), 5u);
    EXPECT_EQ(fake->heldBufferRewritten, 0);
    EXPECT_EQ(fake->heldBufferChanged, 0);
}

TEST_F(WaveAudioPlayerTest, PauseAndStopResetTheDeviceAndGoIdleOnceTheBuffersAreBack)
{
    openSamples(countingSamples(40000));
    player->playFrom(0);
    player->pause();
    EXPECT_EQ(player->status(), ISoundPlayer::Paused);
    EXPECT_EQ(fake->heldCount(), 0);
    processPending();
    EXPECT_EQ(player->status(), ISoundPlayer::Idle);
    EXPECT_EQ(finished.count, 1);
    EXPECT_FALSE(player->isFinished());

    player->playFrom(0);
    player->stop();
    EXPECT_EQ(player->status(), ISoundPlayer::Idle);
    processPending();
    EXPECT_EQ(finished.count, 2);
    EXPECT_FALSE(player->isFinished());
    EXPECT_EQ(fake->writes.size(), 4u);

    // Nothing out: stopping again has nothing to give back.
    player->stop();
    processPending();
    EXPECT_EQ(finished.count, 2);
}

TEST_F(WaveAudioPlayerTest, ResumeRestartsTheDeviceOrRepeatsTheEnd)
{
    openSamples(countingSamples(1000));
    player->pause();
    player->resume();
    EXPECT_EQ(fake->restarts, 1);
    EXPECT_EQ(player->status(), ISoundPlayer::Playing);

    fake->restartSucceeds = false;
    player->pause();
    player->resume();
    EXPECT_EQ(player->status(), ISoundPlayer::Paused);

    player->playFrom(100000);
    processPending();
    ASSERT_EQ(finished.count, 1);
    player->resume();
    EXPECT_EQ(fake->restarts, 2);
    processPending();
    EXPECT_EQ(finished.count, 2);
    EXPECT_TRUE(player->isFinished());
}

TEST_F(WaveAudioPlayerTest, OperationsWithoutASoundRaiseDeviceNotOpen)
{
    const QString text = resourceText(TextId::DeviceNotOpen);
    ASSERT_FALSE(text.isEmpty());
    for (auto call : {&WaveAudioPlayer::stop, &WaveAudioPlayer::pause, &WaveAudioPlayer::resume}) {
        try {
            (player.get()->*call)();
            FAIL() << "no exception";
        } catch (const WaveAudioException& e) {
            EXPECT_EQ(e.message(), text);
        }
    }
    // Play still records where and when it was asked, for the wall clock.
    const auto before = player->playStartTick();
    try {
        player->playFrom(1234);
        FAIL() << "no exception";
    } catch (const WaveAudioException& e) {
        EXPECT_EQ(e.message(), text);
    }
    EXPECT_EQ(player->startMs(), 1234);
    EXPECT_GT(player->playStartTick(), before);
    EXPECT_EQ(player->status(), ISoundPlayer::NotOpen);
    EXPECT_EQ(player->positionMs(), 0);
}

TEST_F(WaveAudioPlayerTest, CloseSilencesTheDeviceAndIgnoresWhatWasStillPosted)
{
    openSamples(countingSamples(40000));
    player->playFrom(0);
    fake->completeNext();   // posted, not yet delivered
    player->close();
    EXPECT_FALSE(fake->isOpen);
    EXPECT_EQ(player->status(), ISoundPlayer::NotOpen);
    EXPECT_EQ(player->byteRateX1000(), 0);
    EXPECT_EQ(player->chunkSize(), 0);
    processPending();
    EXPECT_EQ(fake->writes.size(), 2u);
    EXPECT_EQ(finished.count, 0);
}

TEST_F(WaveAudioPlayerTest, DeviceNoticesAreHandledOnlyWhenDelivered)
{
    openSamples(countingSamples(40000));
    player->playFrom(0);
    fake->completeNext();
    EXPECT_EQ(fake->writes.size(), 2u);
    processPending();
    EXPECT_EQ(fake->writes.size(), 3u);
}

TEST_F(WaveAudioPlayerTest, VolumeIsClampedAndScalesTowardSilenceTruncating)
{
    const struct {
        int set;
        int stored;
    } clampCases[] = {{20, 16}, {16, 16}, {7, 7}, {0, 0}, {-1, 0}};
    for (const auto& c : clampCases) {
        player->setVolume(c.set);
        EXPECT_EQ(player->volume(), c.stored) << c.set;
    }

    // out = 128 + (s - 128) * volume / 16, the division truncating toward zero.
    const struct {
        std::uint8_t sample;
        int volume;
        std::uint8_t out;
    } scaleCases[] = {
        {0, 16, 0},     {255, 16, 255}, {77, 16, 77},   {0, 8, 64},    {255, 8, 191},
        {1, 1, 121},    {255, 1, 135},  {127, 15, 128}, {129, 15, 128}, {100, 15, 102},
        {0, 0, 128},    {255, 0, 128},  {128, 9, 128},  {3, 5, 89},
    };
    std::vector<std::uint8_t> samples;
    for (const auto& c : scaleCases)
        samples.insert(samples.end(), {c.sample, 0x80});   // one case per 2 bytes, 2636 bytes in all
    samples.resize(2636 * 2 * 16, 0x80);
    openSamples(samples);
    for (std::size_t k = 0; k < std::size(scaleCases); ++k) {
        player->setVolume(scaleCases[k].volume);
        fake->writes.clear();
        player->playFrom(0);
        ASSERT_FALSE(fake->writes.empty());
        EXPECT_EQ(int(fake->writes[0].bytes[2 * k]), int(scaleCases[k].out))
            << "sample " << int(scaleCases[k].sample) << " volume " << scaleCases[k].volume;
    }
    EXPECT_EQ(data, slice(0, int(data.size()))) << "the stored sound never changes";
}

TEST_F(WaveAudioPlayerTest, AVolumeChangeReachesTheNextChunkWritten)
{
    openSamples(std::vector<std::uint8_t>(20000, 200));
    player->playFrom(0);
    player->setVolume(0);
    completeOne();
    ASSERT_EQ(fake->writes.size(), 3u);
    EXPECT_EQ(fake->writes[1].bytes.front(), 200);
    EXPECT_EQ(fake->writes[2].bytes, std::vector<std::uint8_t>(2636, 128));
}
