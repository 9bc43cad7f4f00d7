#include "WaveFixtures.h"

#include "playback/PulseWaveOutDevice.h"
#include "playback/SoundEvents.h"
#include "playback/WaveAudioPlayer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <cmath>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// These play through the desktop's sound server. Without one they skip,
// unless KVR_REQUIRE_SOUND=1 (set by scripts/with-pulseaudio.sh), where a
// missing server is a failure.

namespace {

WaveFormat recordingFormat()
{
    WaveFormat f;
    f.formatTag = 1;
    f.channels = 1;
    f.samplesPerSecond = 13183;
    f.averageBytesPerSecond = 13183;
    f.blockAlign = 1;
    f.bitsPerSample = 8;
    return f;
}

// A quiet 440 Hz tone.
std::vector<std::uint8_t> tone(int samples)
{
    std::vector<std::uint8_t> s(static_cast<std::size_t>(samples));
    for (int i = 0; i < samples; ++i)
        s[std::size_t(i)] = std::uint8_t(128 + std::lround(40 * std::sin(2 * M_PI * 440 * i / 13183.0)));
    return s;
}

class SoundServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureCoreApplication();
        PulseWaveOutDevice probe;
        if (probe.open(recordingFormat(), [](WaveBufferTag) {}))
            return;
        if (qEnvironmentVariable("KVR_REQUIRE_SOUND") == "1")
            FAIL() << "KVR_REQUIRE_SOUND=1 but no sound server answers";
        GTEST_SKIP() << "no sound server";
    }

    // An idle null sink has already rendered up to two seconds of silence;
    // from the moment a sound is open its stream holds the sink to a short
    // latency, so once that silence has run out what is written is heard at
    // once.
    void openAndLetTheSinkCatchUp(WaveAudioPlayer& player, const QString& path)
    {
        player.open(path);
        processFor(2100);
    }

    QString writeTone(int seconds)
    {
        WaveFields f;
        f.samples = tone(13183 * seconds);
        return writeBytes(dir, "tone.wav", waveBytes(f));
    }

    TempDir dir;
    FinishedCounter finished;
};

// Temporarily points the sound client at another server address.
class ServerAddress {
public:
    explicit ServerAddress(const QByteArray& address) : saved_(qgetenv("PULSE_SERVER")), had_(qEnvironmentVariableIsSet("PULSE_SERVER"))
    {
        qputenv("PULSE_SERVER", address);
    }
    ~ServerAddress()
    {
        if (had_)
            qputenv("PULSE_SERVER", saved_);
        else
            qunsetenv("PULSE_SERVER");
    }

private:
    QByteArray saved_;
    bool had_;
};

} // namespace

TEST_F(SoundServerTest, PositionFollowsWhatIsHeardAndTheEndIsAnnounced)
{
    WaveAudioPlayer player(&finished);
    openAndLetTheSinkCatchUp(player, writeTone(3));
    QElapsedTimer wall;
    player.playFrom(0);
    wall.start();
    processUntil([&] { return wall.elapsed() >= 2000; });
    const int position = player.positionMs();
    EXPECT_GE(position, 1850) << "after " << wall.elapsed() << " ms";
    EXPECT_LE(position, 2050) << "after " << wall.elapsed() << " ms";
    EXPECT_EQ(player.status(), ISoundPlayer::Playing);

    ASSERT_TRUE(processUntil([&] { return finished.count > 0; }, 3000));
    EXPECT_TRUE(player.isFinished());
    EXPECT_EQ(player.status(), ISoundPlayer::Idle);
    EXPECT_GE(player.positionMs(), 2900);
    processFor(100);
    EXPECT_EQ(finished.count, 1);
}

TEST_F(SoundServerTest, EachRunCountsFromItsOwnStart)
{
    WaveAudioPlayer player(&finished);
    openAndLetTheSinkCatchUp(player, writeTone(5));
    player.playFrom(0);
    processFor(300);
    QElapsedTimer wall;
    player.playFrom(2000);
    wall.start();
    processUntil([&] { return wall.elapsed() >= 500; });
    const int position = player.positionMs();
    EXPECT_GE(position, 2000 + 350) << "after " << wall.elapsed() << " ms";
    EXPECT_LE(position, 2000 + 550) << "after " << wall.elapsed() << " ms";

    player.pause();
    EXPECT_EQ(player.positionMs(), 2000);
    ASSERT_TRUE(processUntil([&] { return player.status() == ISoundPlayer::Idle; }, 1000));
    EXPECT_FALSE(player.isFinished());
}

TEST(SoundServerAddress, AServerThatNeverAnswersFailsTheOpen)
{
    TempDir dir;
    const QByteArray path = QFile::encodeName(dir.file("silent-server"));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(std::size_t(path.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 4), 0);   // accepted by the kernel, never served

    {
        ServerAddress silent("unix:" + path);
        PulseWaveOutDevice device;
        EXPECT_FALSE(device.open(recordingFormat(), [](WaveBufferTag) {}));
        EXPECT_FALSE(device.bytesPlayed().has_value());
    }
    ::close(listener);
}
