#include "ArchiveTestBase.h"

#include "imaging/ImageCodecs.h"
#include "recording/RecordingFormat.h"

namespace {

using namespace RecordingFormat;
using Bytes = std::vector<std::uint8_t>;
using fixture::RawRecord;

class VideoArchiveFrameTest : public ArchiveTestBase {
protected:
    RecordingWriter::PictureFields at(int slot, std::uint32_t tag)
    {
        RecordingWriter::PictureFields fields;
        fields.counter = 1000 + 36 * slot;
        fields.numberA = tag;
        return fields;
    }

    static void expectCloseTo(const Image* decoded, const Image& source, double tolerance)
    {
        ASSERT_NE(decoded, nullptr);
        ASSERT_EQ(decoded->width(), source.width());
        ASSERT_EQ(decoded->height(), source.height());
        EXPECT_LT(fixture::meanDifference(*decoded, source), tolerance);
    }
};

TEST_F(VideoArchiveFrameTest, PicturesComeBackAsStored)
{
    const auto smooth = fixture::patternImage(64, 48);
    const auto noisy = fixture::patternImage(320, 240, true);
    const Bytes smallJpeg = encodeJpeg(*smooth, 90);
    const Bytes largeJpeg = encodeJpeg(*noisy, 95);
    const std::size_t largeStored = RecordingWriter::storedPicture(largeJpeg).size();
    ASSERT_GT(largeStored, 2u * 8112 + 8128) << "needs at least three blocks";
    ASSERT_LE(largeStored, kMaxPictureSize);

    RecordingFileBuilder file;
    file.picture(at(0, 1), smallJpeg).picture(at(1, 2), largeJpeg).picture(at(3, 3), smallJpeg);
    open(file.bytes);
    ASSERT_EQ(archive_.slotCount(), 4);
    EXPECT_GE(archive_.slotAt(1)->blockCount, 3);

    expectCloseTo(archive_.readFrame(0).get(), *smooth, 4.0);
    expectCloseTo(archive_.readFrame(1).get(), *noisy, 8.0);
    expectCloseTo(archive_.readFrame(2).get(), *noisy, 8.0); // a copy reads the same picture
    expectCloseTo(archive_.readFrame(3).get(), *smooth, 4.0);
}

TEST_F(VideoArchiveFrameTest, JpegWithoutApp0IsRestoredDecodable)
{
    const auto smooth = fixture::patternImage(32, 16);
    Bytes jpeg = encodeJpeg(*smooth, 90);
    ASSERT_EQ(jpeg[3], 0xE0);
    const std::size_t app0Length = jpeg[4] << 8 | jpeg[5];
    jpeg.erase(jpeg.begin() + 2, jpeg.begin() + 4 + static_cast<std::ptrdiff_t>(app0Length));
    RecordingFileBuilder file;
    file.picture(at(0, 1), jpeg);
    open(file.bytes);
    expectCloseTo(archive_.readFrame(0).get(), *smooth, 4.0);
}

TEST_F(VideoArchiveFrameTest, RefusesSlotsItCannotReadBack)
{
    const Bytes jpeg = encodeJpeg(*fixture::patternImage(32, 16), 90);
    RecordingFileBuilder file;
    file.picture(at(0, 1), jpeg).picture(at(1, 2), jpeg).picture(at(2, 3), fixture::fakeJpeg(200));
    // A later picture with other version bytes is indexed but not shown.
    file.record(1)[64] = 0x03;
    // A picture shorter than its own marker.
    file.raw({.counter = 1000 + 36 * 3, .dataSize = 10, .body = fixture::markerBody(8128)});
    // A record longer than any picture record, last in the file.
    file.picture(at(4, 5), jpeg);
    writeU32(file.record(file.recordCount() - 1) + Header::Length, 2'000'000);
    open(file.bytes);
    ASSERT_EQ(archive_.slotCount(), 5);

    EXPECT_NE(archive_.readFrame(0), nullptr);
    EXPECT_EQ(archive_.readFrame(1), nullptr) << "other version bytes";
    EXPECT_EQ(archive_.readFrame(2), nullptr) << "not a JPEG";
    EXPECT_EQ(archive_.readFrame(3), nullptr) << "10-byte picture";
    EXPECT_EQ(archive_.readFrame(4), nullptr) << "record too long";
    EXPECT_EQ(archive_.readFrame(-1), nullptr);
    EXPECT_EQ(archive_.readFrame(5), nullptr);
    EXPECT_EQ(archive_.slotAt(5), nullptr);

    archive_.close();
    EXPECT_EQ(archive_.readFrame(0), nullptr);
}

TEST_F(VideoArchiveFrameTest, PictureCutShortOnDiskYieldsNothing)
{
    const Bytes jpeg = encodeJpeg(*fixture::patternImage(32, 16), 90);
    RecordingFileBuilder file;
    file.picture(at(0, 1), jpeg);
    file.bytes.resize(file.bytes.size() - 8192 + 64 + jpeg.size() / 2);
    writeU32(file.record(0) + Header::Length, 64 + static_cast<std::uint32_t>(jpeg.size()) + 12);
    open(file.bytes);
    ASSERT_EQ(archive_.slotCount(), 1);
    EXPECT_EQ(archive_.readFrame(0), nullptr);
}

} // namespace
