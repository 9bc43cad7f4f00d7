#pragma once

#include "imaging/ImageCodecs.h"
#include "playback/FakeWaveOutDevice.h"
#include "playback/view/VideoPlayer.h"
#include "recording/RecordingWriter.h"
#include "support/QtApp.h"
#include "support/TempDir.h"
#include "support/UiRecorders.h"
#include "text/TextTable.h"
#include "ui/main/MainWindow.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <set>

namespace navigation {

// A card folder of recorder-named files 0001_001.DAT, 0002_002.DAT, ...
// File n (from 1) is dated day `dayOf(n)` at 12:00:n, so the catalogue
// order is the file order. Readable files hold a few tiny pictures and some
// sound; unreadable ones are a header without any record.
class CardFolder {
public:
    explicit CardFolder(int files, const std::set<int>& unreadable = {}, int (*dayOf)(int) = nullptr)
        : folder_(dir_.file(QStringLiteral("card")))
    {
        QDir().mkpath(folder_);
        for (int n = 1; n <= files; ++n) {
            const RecordingFormat::LocalDateTime start{2024, 3, dayOf ? dayOf(n) : 1, 12, 0, n};
            if (unreadable.count(n))
                RecordingWriter({start}).save(path(n));
            else
                writeRecording(path(n), start);
        }
    }

    static QString name(int n) { return QString::asprintf("%04d_%03d.DAT", n, n); }
    QString path(int n) const { return folder_ + '/' + name(n); }
    const QString& folder() const { return folder_; }

    static void writeRecording(const QString& path, const RecordingFormat::LocalDateTime& start)
    {
        RecordingWriter writer({start, 1000, 1});
        const auto jpeg = encodeJpeg(*Image::create(16, 12), 50);
        for (int i = 0; i < 8; ++i) {
            RecordingWriter::PictureFields fields;
            fields.counter = static_cast<std::uint32_t>(1000 + 36 * i);
            fields.dateTime = start;
            writer.addPicture(jpeg, fields);
        }
        // Sound keeps the clock: the fake device never plays it, so playback
        // stays on its first frame and never runs on into the next file.
        writer.addSound(1000, std::vector<std::uint8_t>(4000, 0x80));
        writer.save(path);
    }

private:
    TempDir dir_;
    QString folder_;
};

// The main window with the player on a fake sound device; it remembers
// which file each load was for.
class TestWindow : public MainWindow {
public:
    TestWindow() : MainWindow(std::make_unique<FakeWaveOutDevice>()) {}

    void setLoading(bool loading) override
    {
        if (loading)
            loads << player()->dataFilePath();
        MainWindow::setLoading(loading);
    }

    QStringList loads;
};

inline QString titleFor(const QString& path)
{
    return path + QStringLiteral(" - KVR-M48C");
}

inline std::vector<QString> texts(const MessageBoxRecorder& boxes)
{
    std::vector<QString> shown;
    for (const auto& box : boxes.shown)
        shown.push_back(box.text);
    return shown;
}

class NavigationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qtApp(); }
    MessageBoxRecorder boxes;
};

} // namespace navigation
