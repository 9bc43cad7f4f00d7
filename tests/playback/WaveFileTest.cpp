#include "WaveFixtures.h"

#include "errors/Exception.h"
#include "playback/FakeWaveOutDevice.h"
#include "playback/WaveAudioPlayer.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct OpenCase {
    const char* name;
    std::function<void(WaveFields&)> change;
    bool opens;
};

std::vector<std::uint8_t> fileOf(const OpenCase& c)
{
    WaveFields f;
    f.samples = countingSamples(1000);
    c.change(f);
    return waveBytes(f);
}

const OpenCase kOpenCases[] = {
    {"RecordingReaderLayout", [](WaveFields&) {}, true},
    {"EmptyData", [](WaveFields& f) { f.samples.clear(); }, true},
    {"BytesAfterTheData", [](WaveFields& f) { f.declaredLength = 900; }, true},
    {"ChunkSizesNotExamined", [](WaveFields& f) { f.fmtSize = 99; }, true},
    {"AverageRateNotExamined", [](WaveFields& f) { f.bytesPerSecond = 1; }, true},
    {"WrongRiff", [](WaveFields& f) { f.riff = "RIFX"; }, false},
    {"WrongWave", [](WaveFields& f) { f.wave = "AVI "; }, false},
    {"WrongFmt", [](WaveFields& f) { f.fmt = "fmt\t"; }, false},
    {"WrongData", [](WaveFields& f) { f.data = "fact"; }, false},
    {"FormatNotPcm", [](WaveFields& f) { f.formatTag = 3; }, false},
    {"TwoChannels", [](WaveFields& f) { f.channels = 2; }, false},
    {"Rate11025", [](WaveFields& f) { f.sampleRate = 11025; }, false},
    {"BlockAlign2", [](WaveFields& f) { f.blockAlign = 2; }, false},
    {"SixteenBit", [](WaveFields& f) { f.bitsPerSample = 16; }, false},
    {"EighteenByteFormatChunk", [](WaveFields& f) { f.fmtSize = 18; f.formatExtra = {0, 0}; }, false},
    {"DataOneByteBeyondTheFile", [](WaveFields& f) { f.declaredLength = 1001; }, false},
    {"DataLengthHuge", [](WaveFields& f) { f.declaredLength = 0xFFFFFFF0u; }, false},
    {"HeaderCutShort", [](WaveFields& f) { f.samples.clear(); f.cutTo = 30; }, false},
};

class WaveOpenTest : public ::testing::TestWithParam<OpenCase> {
protected:
    static void SetUpTestSuite() { ensureCoreApplication(); }
    TempDir dir;
};

} // namespace

TEST_P(WaveOpenTest, OpensOnlyTheRecordingReadersLayout)
{
    const OpenCase& c = GetParam();
    const QString path = writeBytes(dir, "sound.wav", fileOf(c));

    auto device = std::make_unique<FakeWaveOutDevice>();
    FakeWaveOutDevice* fake = device.get();
    WaveAudioPlayer player(nullptr, std::move(device));
    if (c.opens) {
        ASSERT_NO_THROW(player.open(path));
        EXPECT_EQ(player.status(), ISoundPlayer::Idle);
        EXPECT_EQ(player.byteRateX1000(), 13183000);
        EXPECT_EQ(player.chunkSize(), 2636);
        EXPECT_TRUE(fake->isOpen);
        EXPECT_EQ(fake->format.samplesPerSecond, 13183u);
        EXPECT_EQ(fake->format.bitsPerSample, 8);
    } else {
        try {
            player.open(path);
            FAIL() << "opened";
        } catch (const WaveAudioException& e) {
            EXPECT_EQ(e.message(), path);
        }
        EXPECT_EQ(player.status(), ISoundPlayer::NotOpen);
        EXPECT_EQ(player.byteRateX1000(), 0);
        EXPECT_FALSE(fake->isOpen);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, WaveOpenTest, ::testing::ValuesIn(kOpenCases),
                         [](const ::testing::TestParamInfo<OpenCase>& info) { return std::string(info.param.name); });

TEST(WaveOpen, MissingFileAndUnopenableDeviceRaiseWithThePath)
{
    ensureCoreApplication();
    TempDir dir;
    auto device = std::make_unique<FakeWaveOutDevice>();
    FakeWaveOutDevice* fake = device.get();
    WaveAudioPlayer player(nullptr, std::move(device));

    const QString missing = dir.file("none.wav");
    try {
        player.open(missing);
        FAIL() << "opened";
    } catch (const WaveAudioException& e) {
        EXPECT_EQ(e.message(), missing);
    }

    WaveFields f;
    f.samples = countingSamples(10);
    const QString path = writeBytes(dir, "sound.wav", waveBytes(f));
    fake->openSucceeds = false;
    try {
        player.open(path);
        FAIL() << "opened";
    } catch (const WaveAudioException& e) {
        EXPECT_EQ(e.message(), path);
    }
    EXPECT_EQ(player.status(), ISoundPlayer::NotOpen);
}

TEST(WaveOpen, ReopeningClosesTheDeviceFirst)
{
    ensureCoreApplication();
    TempDir dir;
    auto device = std::make_unique<FakeWaveOutDevice>();
    FakeWaveOutDevice* fake = device.get();
    WaveAudioPlayer player(nullptr, std::move(device));
    WaveFields f;
    f.samples = countingSamples(10000);
    const QString path = writeBytes(dir, "sound.wav", waveBytes(f));
    player.open(path);
    player.playFrom(0);
    ASSERT_EQ(fake->heldCount(), 2);

    f.riff = "RIFX";
    const QString bad = writeBytes(dir, "bad.wav", waveBytes(f));
    EXPECT_THROW(player.open(bad), WaveAudioException);
    EXPECT_FALSE(fake->isOpen);
    EXPECT_EQ(fake->heldCount(), 0);
    EXPECT_EQ(player.status(), ISoundPlayer::NotOpen);
    EXPECT_EQ(player.positionMs(), 0);
}
