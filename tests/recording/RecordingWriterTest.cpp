#include "recording/RecordingWriter.h"

#include "errors/Exception.h"
#include "recording/RecordingFormat.h"
#include "support/RecordingFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using namespace RecordingFormat;
using Bytes = std::vector<std::uint8_t>;

Bytes slice(const std::uint8_t* p, std::size_t n)
{
    return Bytes(p, p + n);
}

TEST(RecordingWriterTest, FileHeaderHoldsDateCounterAndIdOnly)
{
    RecordingWriter writer({{2009, 5, 2, 13, 45, 59}, 0x01020304u, 0xA1B2C3D4u});
    const Bytes& file = writer.bytes();
    ASSERT_EQ(file.size(), 8192u);
    Bytes expected(32, 0);
    const std::uint8_t date[] = {0x09, 0x05, 0x02, 0x13, 0x45, 0x59};
    std::copy(std::begin(date), std::end(date), expected.begin() + 2);
    writeU32(expected.data() + 16, 0x01020304u);
    writeU32(expected.data() + 28, 0xA1B2C3D4u);
    EXPECT_EQ(slice(file.data(), 32), expected);
    EXPECT_TRUE(std::all_of(file.begin() + 32, file.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(RecordingWriterTest, StoredPictureReplacesTheJpegStartWithTheMarker)
{
    const Bytes marker = slice(payloadMarker().data(), 16);
    const Bytes start = slice(kJpegStartBytes.data(), 16);

    // With APP0 right after SOI: comments are inserted, APP0's length follows.
    const Bytes withApp0 = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 0xFF, 0xD9};
    Bytes stored = RecordingWriter::storedPicture(withApp0);
    ASSERT_EQ(stored.size(), withApp0.size() + 12);
    EXPECT_EQ(slice(stored.data(), 16), marker);
    EXPECT_EQ(slice(stored.data() + 16, stored.size() - 16), slice(withApp0.data() + 4, withApp0.size() - 4));

    // Without APP0: an empty one is added so the start bytes still fit.
    const Bytes withoutApp0 = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x03, 0x00, 0xFF, 0xD9};
    stored = RecordingWriter::storedPicture(withoutApp0);
    ASSERT_EQ(stored.size(), withoutApp0.size() + 16);
    EXPECT_EQ(slice(stored.data(), 16), marker);
    std::copy(start.begin(), start.end(), stored.begin());
    const Bytes restored = {0xFF, 0xD8, 0xFF, 0xFE, 0x00, 0x04, 0x00, 0x00, 0xFF, 0xFE, 0x00, 0x04,
                            0x00, 0x00, 0xFF, 0xE0, 0x00, 0x02, 0xFF, 0xDB, 0x00, 0x03, 0x00, 0xFF, 0xD9};
    EXPECT_EQ(stored, restored);

    EXPECT_THROW(RecordingWriter::storedPicture(Bytes{0x89, 'P', 'N', 'G'}), IOException);
    EXPECT_THROW(RecordingWriter::storedPicture(Bytes{0xFF, 0xD8}), IOException);
}

TEST(RecordingWriterTest, PictureSpreadsOverBlocksWithMetadataInTheFirst)
{
    RecordingWriter writer({{2009, 5, 2, 10, 0, 0}, 0, 7});
    RecordingWriter::PictureFields fields;
    fields.counter = 123456;
    fields.dateTime = {2010, 12, 31, 23, 59, 58};
    fields.gX = -4096;
    fields.gY = 2;
    fields.gZ = 0x7FFF;
    fields.speed = 1234;
    fields.numberA = 12345678;
    fields.numberB = 87654321;
    fields.event = true;
    fields.kindDigit = 3;
    const Bytes jpeg = fixture::fakeJpeg(8129);
    writer.addPicture(jpeg, fields);
    Bytes file = writer.bytes();
    ASSERT_EQ(file.size(), 8192u * 3);
    const Bytes stored = RecordingWriter::storedPicture(jpeg);

    for (int block = 1; block <= 2; ++block) {
        const std::uint8_t* h = fixture::recordAt(file, block - 1);
        EXPECT_EQ(readU32(h + Header::Length), 8192u);
        EXPECT_EQ(readU32(h + Header::Counter), 123456u);
        EXPECT_EQ(readU32(h + Header::DataSize), 8129u);
        EXPECT_EQ(h[Header::Type], kTypeVideo);
        EXPECT_EQ(h[Header::Block], block);
        EXPECT_EQ(readU32(h + Header::RecordingId), 7u);
    }
    const std::uint8_t* first = fixture::recordAt(file, 0);
    const Bytes meta = {0x20, 3,    0x10, 0x12, 0x31, 0x23, 0x59, 0x58, 0xF0, 0x00, 0x00, 0x02,
                        0x7F, 0xFF, 0x12, 0x34, 0x12, 0x34, 0x56, 0x78, 0x87, 0x65, 0x43, 0x21};
    EXPECT_EQ(slice(first + 32, 24), meta);
    EXPECT_EQ(slice(first + 64, 8128), slice(stored.data(), 8128));

    const std::uint8_t* second = fixture::recordAt(file, 1);
    EXPECT_TRUE(std::all_of(second + 32, second + 64, [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(slice(second + 64, 16), slice(payloadMarker().data(), 16));
    EXPECT_EQ(second[80], stored[8128]);
    EXPECT_TRUE(std::all_of(second + 81, second + 8192, [](std::uint8_t b) { return b == 0; }));
}

TEST(RecordingWriterTest, SoundRecordCarriesItsSamples)
{
    RecordingWriter writer({{2009, 5, 2, 10, 0, 0}, 0, 9});
    const Bytes samples(300, 0x42);
    writer.addSound(777, samples);
    Bytes file = writer.bytes();
    ASSERT_EQ(file.size(), 8192u * 2);
    const std::uint8_t* h = fixture::recordAt(file, 0);
    EXPECT_EQ(readU32(h + Header::Length), 8192u);
    EXPECT_EQ(readU32(h + Header::Counter), 777u);
    EXPECT_EQ(readU32(h + Header::DataSize), 300u);
    EXPECT_EQ(h[Header::Type], kTypeSound);
    EXPECT_EQ(h[Header::Block], 1);
    EXPECT_EQ(readU32(h + Header::RecordingId), 9u);
    EXPECT_EQ(slice(h + 64, 300), samples);
    EXPECT_EQ(h[364], 0);
}

TEST(RecordingWriterTest, RefusesWhatARecordingCannotHold)
{
    RecordingWriter writer({});
    EXPECT_NO_THROW(writer.addPicture(fixture::fakeJpeg(kMaxPictureSize), {}));
    const std::size_t before = writer.bytes().size();
    EXPECT_THROW(writer.addPicture(fixture::fakeJpeg(kMaxPictureSize + 1), {}), IOException);
    EXPECT_THROW(writer.addSound(0, Bytes(8129, 0x80)), IOException);
    EXPECT_EQ(writer.bytes().size(), before);
    EXPECT_EQ(before, 8192u * 11);
}

TEST(RecordingWriterTest, SaveWritesTheBytesAndReportsFailure)
{
    TempDir dir;
    RecordingWriter writer({});
    writer.addSound(1, Bytes(10, 0x81));
    writer.save(dir.file("0001_001.DAT"));
    EXPECT_EQ(fixture::readFile(dir.file("0001_001.DAT")), writer.bytes());
    EXPECT_THROW(writer.save(dir.file("missing/0001_001.DAT")), IOException);
}

} // namespace
