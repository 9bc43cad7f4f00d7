// Picture against sound, as a viewer user meets it: plays a 60-second demo
// recording to the end on the desktop's sound server and reports, at every
// tick, how far the frame on screen is from the frame the sound position
// calls for, and how far the end of playback is from the end of the sound.
//
//   scripts/with-pulseaudio.sh build/bin/kvr-avsync

#include "playback/view/VideoPlayer.h"
#include "recording/VideoInfo.h"
#include "tools/demo/DemoRecording.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

class SyncProbe : public IPlayerHost {
public:
    void refreshPlaybackDisplay() override
    {
        if (!player || player->state() != VideoPlayer::Playing)
            return;
        if (player->sound().status() != ISoundPlayer::Playing || player->shownFrame() < 0)
            return;
        const int heard = static_cast<int>(player->sound().positionMs() / (1000.0 / 28.0));
        const int off = player->shownFrame() - heard;
        worst = std::max(worst, std::abs(off));
        outside += std::abs(off) > 1;
        ++ticks;
        lastHeardMs = player->sound().positionMs();
        lastHeardAt = clock.elapsed();
    }
    void openAdjacentFile(bool) override {}
    void closeAll() override {}
    void setLoading(bool) override {}
    void recordingDisplaysChanged() override {}
    QWidget* messageOwner() override { return nullptr; }

    VideoPlayer* player = nullptr;
    QElapsedTimer clock;
    int worst = 0;
    int outside = 0;
    int ticks = 0;
    int lastHeardMs = 0;
    qint64 lastHeardAt = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString path = QDir::tempPath() + "/kvr-avsync-60s.DAT";
    DemoDrivePlan plan;
    plan.seconds = 60;
    plan.brakingAtSecond = 30;
    writeDemoRecording(path, plan);

    SyncProbe probe;
    QWidget window;
    auto* player = new VideoPlayer(&window, probe);
    probe.player = player;
    window.resize(640, 480);
    window.show();
    if (!player->openEntry(player->setSingleFile(path))) {
        std::fputs("cannot open the recording\n", stderr);
        return 1;
    }
    if (player->sound().status() == ISoundPlayer::NotOpen) {
        std::fputs("no sound server: nothing to measure\n", stderr);
        return 1;
    }
    probe.clock.start();
    player->playFrom(0);
    qint64 stoppedAt = -1;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (player->state() == VideoPlayer::Stopped && stoppedAt < 0) {
            stoppedAt = probe.clock.elapsed();
            QTimer::singleShot(200, &app, &QApplication::quit);
        }
    });
    watch.start(5);
    QTimer::singleShot(90'000, &app, &QApplication::quit);
    app.exec();

    const int frames = player->info() ? player->info()->frameCount() : 0;
    const double soundEndMs = frames * (1000.0 / 28.0);
    // When the sound's end was heard, projected from the last position seen.
    const double soundEndAt = static_cast<double>(probe.lastHeardAt) + (soundEndMs - probe.lastHeardMs);
    std::printf("ticks measured: %d\n", probe.ticks);
    std::printf("picture vs sound: worst %d frames, %d ticks beyond +-1\n", probe.worst, probe.outside);
    std::printf("playback ended %.0f ms after the sound's end\n", static_cast<double>(stoppedAt) - soundEndAt);
    delete player;
    QFile::remove(path);
    return probe.outside == 0 && stoppedAt >= 0 ? 0 : 1;
}
