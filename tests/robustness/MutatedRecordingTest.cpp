// Thousands of damaged recordings: every one must open or fail cleanly,
// decode what it can, and leave a sound file of bounded size. Run under the
// sanitizer build, this is also a memory-safety check of the reader.

#include "errors/Exception.h"
#include "imaging/ImageCodecs.h"
#include "recording/ILoadingProgress.h"
#include "recording/RecordingWriter.h"
#include "recording/VideoArchive.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <random>

namespace {

// A short clean recording: pictures of one to three blocks, sound records
// between them, an event mark.
std::vector<std::uint8_t> cleanRecording()
{
    RecordingWriter writer({});
    std::mt19937 noise(7);
    for (int i = 0; i < 24; ++i) {
        const int side = i % 3 == 0 ? 96 : 32; // noisy 96 x 96 pictures need several blocks
        auto image = Image::create(side, side);
        for (int b = 0; b < image->byteSize(); ++b)
            image->pixels()[b] = static_cast<std::uint8_t>(noise());
        RecordingWriter::PictureFields fields;
        fields.counter = static_cast<std::uint32_t>(5000 + i * 36);
        fields.gX = static_cast<std::int16_t>(i * 100);
        fields.speed = 40 + i;
        fields.event = i == 10;
        writer.addPicture(encodeJpeg(*image, 90), fields);
        if (i % 8 == 0) {
            const std::vector<std::uint8_t> sound(4096, static_cast<std::uint8_t>(100 + i));
            writer.addSound(static_cast<std::uint32_t>(5000 + i * 36), sound);
        }
    }
    return writer.bytes();
}

void mutate(std::vector<std::uint8_t>& bytes, std::mt19937& rng)
{
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    switch (pick(5)) {
    case 0: // scattered byte flips
        for (std::size_t k = 0, n = 1 + pick(16); k < n; ++k)
            bytes[pick(bytes.size())] = static_cast<std::uint8_t>(rng());
        break;
    case 1: { // a record header field set to an extreme
        const std::size_t record = 8192 + 8192 * pick((bytes.size() - 8192) / 8192);
        const std::size_t field = record + 4 * pick(16);
        const std::uint32_t values[] = {0, 1, 63, 64, 65, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 8192, 81137};
        const std::uint32_t v = values[pick(std::size(values))];
        for (int i = 0; i < 4 && field + 3 < bytes.size(); ++i)
            bytes[field + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
        break;
    }
    case 2: // cut short anywhere
        bytes.resize(pick(bytes.size()));
        break;
    case 3: { // a record duplicated in place of another
        const std::size_t records = (bytes.size() - 8192) / 8192;
        const std::size_t from = 8192 + 8192 * pick(records), to = 8192 + 8192 * pick(records);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(from), 8192, bytes.begin() + static_cast<std::ptrdiff_t>(to));
        break;
    }
    default: // a block number or type byte changed
        bytes[8192 + 8192 * pick((bytes.size() - 8192) / 8192) + 12 + pick(2)] = static_cast<std::uint8_t>(rng());
        break;
    }
}

} // namespace

TEST(MutatedRecording, EveryDamagedFileOpensOrFailsCleanlyWithABoundedSoundFile)
{
    const std::vector<std::uint8_t> clean = cleanRecording();
    const TempDir dir;
    const QString path = dir.file("0001_001.DAT");
    std::mt19937 rng(20261211);
    SilentLoadingProgress progress;
    VideoArchive archive;
    double slowestMs = 0;
    int opened = 0, pictures = 0;

    constexpr int kFiles = 2000;
    for (int n = 0; n < kFiles; ++n) {
        std::vector<std::uint8_t> bytes = clean;
        mutate(bytes, rng);
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        }
        const auto started = std::chrono::steady_clock::now();
        try {
            archive.open(path, progress);
            ++opened;
            // The sound can never outgrow the grid and the 32-bit WAV sizes.
            const qint64 wavSize = QFileInfo(archive.soundFilePath()).size();
            EXPECT_LE(wavSize, qint64{0x7FFFFFFF}) << "file " << n;
            for (int i = 0; i < archive.slotCount(); ++i)
                pictures += archive.readFrame(i) != nullptr;
        } catch (const VideoArchiveException&) {
            EXPECT_EQ(archive.slotCount(), 0);
            EXPECT_TRUE(archive.soundFilePath().isEmpty()) << "a failed open leaves no temporary file";
        }
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
        slowestMs = std::max(slowestMs, ms);
    }
    archive.close();
    EXPECT_GT(opened, kFiles / 2);
    EXPECT_GT(pictures, 0);
    RecordProperty("slowest_file_ms", static_cast<int>(slowestMs));
    std::printf("%d of %d damaged files opened, %d pictures decoded, slowest file %.1f ms\n", opened, kFiles,
                pictures, slowestMs);
}
