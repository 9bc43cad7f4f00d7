#pragma once

#include "imaging/Image.h"
#include "recording/ILoadingProgress.h"
#include "recording/RecordingWriter.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Building blocks for data-file tests: pictures, raw (possibly damaged)
// records, and a progress target that remembers what it was told.
namespace fixture {

// Stands in for a JPEG where only the bytes matter: SOI, the start of an
// APP0 segment, filler, and EOI unless `withEnd` is false. Sized so that its
// stored form (RecordingWriter::storedPicture) is exactly `storedSize` bytes.
std::vector<std::uint8_t> fakeJpeg(std::size_t storedSize, bool withEnd = true);

// A picture with smooth colour ramps; `noisy` adds per-pixel noise so that
// its JPEG needs several blocks.
std::unique_ptr<Image> patternImage(int width, int height, bool noisy = false);

// Mean absolute difference of the colour bytes of two pictures of one size.
double meanDifference(const Image& a, const Image& b);

// One record written byte by byte, so tests can state fields the recorder
// would never write.
struct RawRecord {
    std::uint32_t length = 8192;
    std::uint32_t counter = 0;
    std::uint32_t dataSize = 0;
    std::uint8_t type = 0x55;
    std::uint8_t block = 1;
    std::uint32_t recordingId = 1;
    std::vector<std::uint8_t> body;  // follows the header
    std::size_t fileBytes = 8192;    // room the record takes in the file, header included
};
void appendRaw(std::vector<std::uint8_t>& file, const RawRecord& record);

// The payload marker followed by zeros up to `size` bytes.
std::vector<std::uint8_t> markerBody(std::size_t size);

// The header of record `index` in a file whose records are all 8192 bytes.
std::uint8_t* recordAt(std::vector<std::uint8_t>& file, int index);

void writeFile(const QString& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> readFile(const QString& path);

class ProgressSpy : public ILoadingProgress {
public:
    void showLoadingProgress(int percent) override { percents.push_back(percent); }
    void pumpEvents() override { ++pumps; }
    void showWarning(const QString& text) override { warnings << text; }

    std::vector<int> percents;
    int pumps = 0;
    QStringList warnings;
};

} // namespace fixture
