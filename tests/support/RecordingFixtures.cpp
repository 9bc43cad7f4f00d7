#include "support/RecordingFixtures.h"

#include "recording/RecordingFormat.h"

#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace fixture {

std::vector<std::uint8_t> fakeJpeg(std::size_t storedSize, bool withEnd)
{
    if (storedSize < 20)
        throw std::invalid_argument("fake JPEG too small");
    // storedPicture adds two 6-byte comment segments after SOI.
    const std::size_t size = storedSize - 12;
    std::vector<std::uint8_t> jpeg(size, 0x5A);
    jpeg[0] = 0xFF;
    jpeg[1] = 0xD8;
    jpeg[2] = 0xFF;
    jpeg[3] = 0xE0;
    if (withEnd) {
        jpeg[size - 2] = 0xFF;
        jpeg[size - 1] = 0xD9;
    }
    return jpeg;
}

std::unique_ptr<Image> patternImage(int width, int height, bool noisy)
{
    auto image = Image::create(width, height);
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image->memoryRow(y);
        for (int x = 0; x < width; ++x) {
            int noise = 0;
            if (noisy) {
                seed = seed * 1103515245u + 12345u;
                noise = static_cast<int>(seed >> 24) % 64 - 32;
            }
            const auto clamp = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
            row[4 * x + 0] = clamp(255 * x / width + noise);
            row[4 * x + 1] = clamp(255 * y / height + noise);
            row[4 * x + 2] = clamp(128 + noise);
            row[4 * x + 3] = 0;
        }
    }
    return image;
}

double meanDifference(const Image& a, const Image& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (int c = 0; c < 3; ++c)
                sum += std::abs(a.memoryRow(y)[4 * x + c] - b.memoryRow(y)[4 * x + c]);
    return sum / (3.0 * a.width() * a.height());
}

void appendRaw(std::vector<std::uint8_t>& file, const RawRecord& record)
{
    using namespace RecordingFormat;
    const std::size_t start = file.size();
    file.resize(start + std::max<std::size_t>(record.fileBytes, kRecordHeaderSize + record.body.size()), 0);
    std::uint8_t* h = file.data() + start;
    writeU32(h + Header::Length, record.length);
    writeU32(h + Header::Counter, record.counter);
    writeU32(h + Header::DataSize, record.dataSize);
    h[Header::Type] = record.type;
    h[Header::Block] = record.block;
    writeU32(h + Header::RecordingId, record.recordingId);
    std::copy(record.body.begin(), record.body.end(), h + kRecordHeaderSize);
}

std::vector<std::uint8_t> markerBody(std::size_t size)
{
    std::vector<std::uint8_t> body(size, 0);
    const auto marker = RecordingFormat::payloadMarker();
    std::copy(marker.begin(), marker.end(), body.begin());
    return body;
}

std::uint8_t* recordAt(std::vector<std::uint8_t>& file, int index)
{
    return file.data() + RecordingFormat::kFileHeaderSize + static_cast<std::size_t>(index) * 8192;
}

void writeFile(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot create test file");
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size)
        throw std::runtime_error("cannot write test file");
}

std::vector<std::uint8_t> readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = file.readAll();
    return {all.begin(), all.end()};
}

} // namespace fixture
