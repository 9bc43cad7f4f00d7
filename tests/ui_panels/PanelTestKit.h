#pragma once

#include "playback/FakeWaveOutDevice.h"
#include "playback/view/VideoPlayer.h"
#include "recording/VideoInfo.h"
#include "recording/RecordingFormat.h"
#include "recording/RecordingWriter.h"
#include "support/QtApp.h"
#include "support/TempDir.h"
#include "support/UiRecorders.h"
#include "ui/main/MainWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include <cstdint>
#include <set>
#include <vector>

namespace panels_test {

using RecordingFormat::LocalDateTime;

// Never shown as a picture here: start of image, an empty APP0 segment and
// end of image are enough for the recording to index.
inline const std::vector<std::uint8_t> kPicture = {
    0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00, 0x01, 0x01, 0x00,
    0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0xFF, 0xD9,
};

// Writes a recording of `frames` pictures, one per slot of the 28-per-second
// grid, with the event mark on the pictures listed in `marked`, recorded at
// `start` (local time). No sound records.
inline void writeRecording(const QString& path, const LocalDateTime& start, int frames,
                           const std::set<int>& marked = {})
{
    RecordingWriter writer({start, 1000, 7});
    for (int i = 0; i < frames; ++i) {
        RecordingWriter::PictureFields fields;
        fields.counter = static_cast<std::uint32_t>(1000 + (i * 1000 + 27) / 28);
        fields.dateTime = start;
        fields.event = marked.count(i) > 0;
        writer.addPicture(kPicture, fields);
    }
    writer.save(path);
}

// A recording that holds sound but not a single picture.
inline void writeSoundOnlyRecording(const QString& path, const LocalDateTime& start)
{
    RecordingWriter writer({start, 1000, 7});
    writer.addSound(1000, std::vector<std::uint8_t>(1000, 0x80));
    writer.save(path);
}

inline void sendMouse(QWidget& widget, QEvent::Type type, QPoint at)
{
    const Qt::MouseButton changed = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), changed, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

inline void press(QWidget& w, QPoint at) { sendMouse(w, QEvent::MouseButtonPress, at); }
inline void moveTo(QWidget& w, QPoint at) { sendMouse(w, QEvent::MouseMove, at); }
inline void release(QWidget& w, QPoint at) { sendMouse(w, QEvent::MouseButtonRelease, at); }

inline void click(QWidget& w)
{
    const QPoint centre = w.rect().center();
    press(w, centre);
    release(w, centre);
}

// A shown main window over a folder of its own, playing its sound on a
// fake device; message boxes are recorded, timers fire by hand and nothing
// may reach the fatal error guard.
class PanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qtApp(); }

    void SetUp() override { window.show(); }
    void TearDown() override { EXPECT_TRUE(FatalErrorRecorder::errors().empty()); }

    VideoPlayer& player() { return *window.player(); }

    // Opens the recording at `path` with the folder around it, as a
    // recorder-named file is opened.
    void openInFolder(const QString& path)
    {
        const int start = player().loadCatalogue(path);
        ASSERT_TRUE(player().openEntry(start)) << path.toStdString();
    }

    MessageBoxRecorder boxes;
    ManualTimers timers;
    FatalErrorRecorder fatal;
    TempDir dir;
    MainWindow window{std::make_unique<FakeWaveOutDevice>()};
};

} // namespace panels_test
