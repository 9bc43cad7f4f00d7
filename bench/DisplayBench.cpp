// What the displays that follow the play position cost on every playback
// tick (every 35 ms), drawn offscreen into a picture of the window's size:
//   BM_InfoPanelTick:    the date and time readout of the frame on screen;
//   BM_ChartTick:        the chart with its cached G line and the moving play
//                        position;
//   BM_ChartNewRecording: the same with the picture drawn anew, what the
//                        cache saves on every tick.
// Each tick should cost well under a millisecond.

#include "BenchRecording.h"
#include "recording/ILoadingProgress.h"
#include "recording/VideoArchive.h"
#include "recording/VideoInfo.h"
#include "ui/panels/InfoPanel.h"
#include "ui/panels/LineChart.h"
#include "ui/panels/ShownRecording.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <memory>

namespace {

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "kvr-bench";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
}

// A three-minute drive with a braking event, opened as the player opens it.
struct OpenDrive {
    OpenDrive()
    {
        SilentLoadingProgress progress;
        archive.open(benchRecording(), progress);
        metadata = std::make_unique<VideoInfo07>(archive);
    }

    // Moves on by one frame, back to the start after the last.
    void tick() { frame = (frame + 1) % metadata->frameCount(); }

    VideoArchive archive;
    std::unique_ptr<VideoInfo07> metadata;
    int frame = 0;
};

// Hands the panels a view of the one drive, which outlives them.
struct SharedDrive : IShownRecording {
    explicit SharedDrive(const OpenDrive& drive) : drive(drive) {}
    const IVideoInfo* info() const override { return drive.metadata.get(); }
    int currentFrame() const override { return drive.frame; }
    const OpenDrive& drive;
};

OpenDrive& drive()
{
    static OpenDrive d;
    return d;
}

void BM_InfoPanelTick(benchmark::State& state)
{
    ensureApplication();
    InfoPanel panel(nullptr, std::make_unique<SharedDrive>(drive()));
    panel.resize(209, 180);
    QImage screen(panel.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        drive().tick();
        panel.render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_InfoPanelTick)->Unit(benchmark::kMicrosecond);

void BM_ChartTick(benchmark::State& state)
{
    ensureApplication();
    LineChart chart(nullptr, std::make_unique<SharedDrive>(drive()));
    chart.resize(1000, 90);
    QImage screen(chart.size(), QImage::Format_RGB32);
    chart.render(&screen);
    const int drawn = chart.picturesDrawn();
    for (auto _ : state) {
        drive().tick();
        chart.render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
    if (chart.picturesDrawn() != drawn)
        state.SkipWithError("the chart picture was drawn again during playback");
    state.counters["frames"] = drive().metadata->frameCount();
}
BENCHMARK(BM_ChartTick)->Unit(benchmark::kMicrosecond);

void BM_ChartNewRecording(benchmark::State& state)
{
    ensureApplication();
    LineChart chart(nullptr, std::make_unique<SharedDrive>(drive()));
    chart.resize(1000, 90);
    QImage screen(chart.size(), QImage::Format_RGB32);
    chart.render(&screen);
    for (auto _ : state) {
        chart.clearPicture();
        chart.render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_ChartNewRecording)->Unit(benchmark::kMicrosecond);

} // namespace
