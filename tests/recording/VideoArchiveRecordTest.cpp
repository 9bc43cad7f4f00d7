#include "ArchiveTestBase.h"

#include "errors/Exception.h"
#include "recording/RecordingFormat.h"
#include "text/TextTable.h"

#include <functional>
#include <string>

namespace {

using namespace RecordingFormat;
using Bytes = std::vector<std::uint8_t>;
using fixture::RawRecord;

class VideoArchiveRecordTest : public ArchiveTestBase {};

// ---- damaged files: which pictures survive ---------------------------------

struct DamageCase {
    std::string name;
    std::function<void(RecordingFileBuilder&)> build;
    std::vector<int> slotTags; // numberA per slot; gaps hold copies of the picture before
};

void patchLength(RecordingFileBuilder& f, int record, std::uint32_t length)
{
    writeU32(f.record(record) + Header::Length, length);
}

const std::vector<DamageCase>& damageCases()
{
    static const std::vector<DamageCase> cases = {
        {"intact", [](RecordingFileBuilder& f) { f.picture(0, 1).picture(1, 2).picture(2, 3); }, {1, 2, 3}},
        {"block 2 missing: the picture and the next first block are lost",
         [](RecordingFileBuilder& f) {
             f.picture(0, 1).picture(1, 2, 9000);
             f.bytes.resize(f.bytes.size() - 8192);
             f.picture(2, 3).picture(3, 4);
         },
         {1, 1, 1, 4}},
        {"end marker missing: the expected block stays, so the next picture is skipped",
         [](RecordingFileBuilder& f) { f.picture(0, 1).picture(1, 2, 9000, false).picture(2, 3).picture(3, 4); },
         {1, 1, 1, 4}},
        {"single-block picture needs no end marker",
         [](RecordingFileBuilder& f) { f.picture(0, 1).picture(1, 2, 100, false).picture(2, 3); },
         {1, 2, 3}},
        {"8128-byte picture is complete in one block",
         [](RecordingFileBuilder& f) { f.picture(0, 1).picture(1, 2, 8128).picture(2, 3); }, {1, 2, 3}},
        {"8129-byte picture: its end marker straddles the two blocks",
         [](RecordingFileBuilder& f) { f.picture(0, 1).picture(1, 2, 8129).picture(2, 3); }, {1, 2, 3}},
        {"16241-byte picture: one byte in its third block",
         [](RecordingFileBuilder& f) { f.picture(0, 1).picture(1, 2, 16241).picture(2, 3); }, {1, 2, 3}},
        {"ten-block picture of 81136 bytes",
         [](RecordingFileBuilder& f) { f.picture(0, 1).picture(1, 2, kMaxPictureSize).picture(2, 3); },
         {1, 2, 3}},
        {"sound while block 2 is expected drops the picture",
         [](RecordingFileBuilder& f) {
             f.picture(0, 1).picture(1, 2, 9000);
             const Bytes block2(f.bytes.end() - 8192, f.bytes.end());
             f.bytes.resize(f.bytes.size() - 8192);
             f.sound(1050, Bytes(100, 0x11));
             f.bytes.insert(f.bytes.end(), block2.begin(), block2.end());
             f.picture(2, 3);
         },
         {1, 1, 3}},
        {"other type with a marker: its body is read as headers until the signature search recovers",
         [](RecordingFileBuilder& f) {
             f.picture(0, 1);
             f.raw({.counter = 1036, .dataSize = 100, .type = 0x33, .body = fixture::markerBody(8128)});
             f.picture(2, 3);
         },
         {1, 1, 3}},
        {"garbage between records is skipped by the signature search",
         [](RecordingFileBuilder& f) {
             f.picture(0, 1);
             f.bytes.insert(f.bytes.end(), 5000, 0xEE);
             f.picture(1, 2);
         },
         {1, 2}},
        {"a new recording id ends the reading",
         [](RecordingFileBuilder& f) {
             f.picture(0, 1).picture(1, 2).picture(2, 3).picture(3, 4);
             writeU32(f.record(2) + Header::RecordingId, 2);
         },
         {1, 2}},
        {"record header cut short ends the reading",
         [](RecordingFileBuilder& f) {
             f.picture(0, 1).picture(1, 2);
             f.bytes.insert(f.bytes.end(), 40, 0);
         },
         {1, 2}},
        {"marker bytes cut short end the reading",
         [](RecordingFileBuilder& f) {
             f.picture(0, 1).picture(1, 2).picture(2, 3);
             f.bytes.resize(f.bytes.size() - 8192 + 70);
         },
         {1, 2}},
        {"length below the header size drops the picture without moving back",
         [](RecordingFileBuilder& f) {
             f.picture(0, 1).picture(1, 2).picture(2, 3);
             patchLength(f, 1, 40);
         },
         {1, 1, 3}},
        {"length 0 drops the picture",
         [](RecordingFileBuilder& f) {
             f.picture(0, 1).picture(1, 2).picture(2, 3);
             patchLength(f, 1, 0);
         },
         {1, 1, 3}},
        {"negative length drops the picture",
         [](RecordingFileBuilder& f) {
             f.picture(0, 1).picture(1, 2).picture(2, 3);
             patchLength(f, 1, 0x80000000u);
         },
         {1, 1, 3}},
        {"huge length keeps the picture and reading ends past the file",
         [](RecordingFileBuilder& f) {
             f.picture(0, 1).picture(1, 2).picture(2, 3);
             patchLength(f, 1, 0x7FFFFFFFu);
         },
         {1, 2}},
        {"picture needing more than ten blocks is dropped with its blocks",
         [](RecordingFileBuilder& f) {
             f.picture(0, 1);
             for (int block = 1; block <= 12; ++block)
                 f.raw({.counter = 1036, .dataSize = 90000, .block = static_cast<std::uint8_t>(block),
                        .body = fixture::markerBody(8128)});
             f.picture(2, 3);
         },
         {1, 1, 3}},
        {"first block shorter than the picture, ending before the second block's data",
         [](RecordingFileBuilder& f) {
             f.picture(0, 1);
             f.raw({.length = 1000, .counter = 1036, .dataSize = 2000, .body = fixture::markerBody(936)});
             f.raw({.counter = 1036, .dataSize = 2000, .block = 2, .body = fixture::markerBody(2000)});
             f.picture(2, 3).picture(3, 4);
         },
         {1, 1, 1, 4}},
        {"last block too short for the rest of the picture",
         [](RecordingFileBuilder& f) {
             f.picture(0, 1).picture(1, 2, 8300);
             patchLength(f, 2, 80);
             f.picture(2, 3).picture(3, 4);
         },
         {1, 1, 1, 4}},
        {"incomplete last picture is dropped",
         [](RecordingFileBuilder& f) {
             f.picture(0, 1).picture(1, 2).picture(2, 3, 9000);
             f.bytes.resize(f.bytes.size() - 8192);
         },
         {1, 2}},
    };
    return cases;
}

TEST_F(VideoArchiveRecordTest, DamagedRecordsLoseOnlyTheirPictures)
{
    for (const DamageCase& c : damageCases()) {
        SCOPED_TRACE(c.name);
        RecordingFileBuilder file;
        c.build(file);
        ASSERT_NO_THROW(open(file.bytes));
        EXPECT_EQ(slotTags(), c.slotTags);
        archive_.close();
    }
}

TEST_F(VideoArchiveRecordTest, SoundMetWhileBlock2IsExpectedIsSkippedToo)
{
    RecordingFileBuilder file;
    file.picture(0, 1).picture(1, 2, 9000);
    const Bytes block2(file.bytes.end() - 8192, file.bytes.end());
    file.bytes.resize(file.bytes.size() - 8192);
    file.sound(1050, Bytes(100, 0x11));
    file.bytes.insert(file.bytes.end(), block2.begin(), block2.end());
    file.sound(1038, Bytes(100, 0x22)); // 38 ms after the first picture: no lead silence
    open(file.bytes);
    EXPECT_EQ(soundData(), Bytes(100, 0x22));
}

// ---- files that cannot be opened -------------------------------------------

TEST_F(VideoArchiveRecordTest, UnreadableFilesRaise5510AndLeaveNothingBehind)
{
    struct Case {
        std::string name;
        std::function<Bytes()> bytes;
    };
    const std::vector<Case> cases = {
        {"shorter than the header fields", [] { return Bytes(31, 0); }},
        {"file header only", [] { return RecordingFileBuilder().bytes; }},
        {"records without any signature",
         [] {
             Bytes b = RecordingFileBuilder().bytes;
             b.resize(b.size() + 3 * 8192, 0x42);
             return b;
         }},
        {"first picture with other version bytes",
         [] {
             RecordingFileBuilder f;
             f.picture(0, 1).picture(1, 2);
             f.record(0)[64] = 0x04;
             f.record(0)[65] = 0x01;
             return f.bytes;
         }},
        {"sound records only with a recording id of another recording",
         [] {
             RecordingFileBuilder f;
             f.sound(1000, Bytes(10, 1));
             writeU32(f.record(0) + Header::RecordingId, 99);
             return f.bytes;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            open(c.bytes());
            ADD_FAILURE() << "open did not raise";
        } catch (const VideoArchiveException& e) {
            EXPECT_EQ(e.message(), resourceText(TextId::CannotReadData));
        }
        EXPECT_FALSE(archive_.isOpen());
        EXPECT_EQ(archive_.slotCount(), 0);
        EXPECT_TRUE(archive_.soundFilePath().isEmpty());
        EXPECT_TRUE(leftoverSoundFiles().isEmpty()) << leftoverSoundFiles().join(',').toStdString();
    }
}

TEST_F(VideoArchiveRecordTest, PathsThatAreNoRegularFileRaise5510)
{
    for (const QString& path : {files_.path(), files_.file("absent.DAT"), QStringLiteral("/dev/zero")}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_THROW(archive_.open(path, progress_), VideoArchiveException);
        EXPECT_FALSE(archive_.isOpen());
    }
    EXPECT_TRUE(leftoverSoundFiles().isEmpty());
}

TEST_F(VideoArchiveRecordTest, FailedOpenClosesWhatWasOpenBefore)
{
    RecordingFileBuilder good;
    good.picture(0, 1).sound(1000, Bytes(10, 1));
    open(good.bytes);
    ASSERT_FALSE(archive_.soundFilePath().isEmpty());
    EXPECT_THROW(open(Bytes(10, 0)), VideoArchiveException);
    EXPECT_FALSE(archive_.isOpen());
    EXPECT_EQ(archive_.slotAt(0), nullptr);
    EXPECT_TRUE(leftoverSoundFiles().isEmpty());
}

// ---- metadata, counters and times ------------------------------------------

TEST_F(VideoArchiveRecordTest, PictureFieldsComeFromTheFirstBlockHeader)
{
    RecordingFileBuilder file({{2009, 5, 2, 10, 0, 0}, 500, 0x11223344});
    RecordingWriter::PictureFields fields;
    fields.counter = 1000;
    fields.dateTime = {2009, 5, 2, 10, 0, 1};
    fields.gX = 4096;
    fields.gY = -2048;
    fields.gZ = 0;
    fields.speed = 95;
    fields.numberA = 12345678;
    fields.numberB = 1020304;
    fields.event = true;
    fields.kindDigit = 7;
    file.picture(fields, fixture::fakeJpeg(9000));
    fields.counter = 1036;
    fields.gX = fields.gY = fields.gZ = 0x7FFF;
    fields.speed = 9999;
    fields.event = false;
    file.picture(fields, fixture::fakeJpeg(100));
    open(file.bytes);

    EXPECT_EQ(archive_.startTime(), *localDateTime({2009, 5, 2, 10, 0, 0}));
    EXPECT_EQ(archive_.startCounter(), 500);
    EXPECT_EQ(archive_.recordingId(), 0x11223344u);
    ASSERT_EQ(archive_.slotCount(), 2);
    const FrameRecord& a = *archive_.slotAt(0);
    EXPECT_EQ(a.time, *localDateTime({2009, 5, 2, 10, 0, 1}));
    EXPECT_DOUBLE_EQ(a.gX, 4096 * 0.00024414);
    EXPECT_DOUBLE_EQ(a.gY, -2048 * 0.00024414);
    EXPECT_EQ(a.gZ, 0.0);
    EXPECT_DOUBLE_EQ(a.gMagnitude, std::sqrt(a.gX * a.gX + a.gY * a.gY));
    EXPECT_EQ(a.speed, 95);
    EXPECT_EQ(a.numberA, 12345678);
    EXPECT_EQ(a.pictureNumber, 1234);
    EXPECT_EQ(a.numberB, 1020304);
    EXPECT_EQ(a.eventMark, 0x20);
    EXPECT_EQ(a.kindDigit, 7);
    EXPECT_EQ(a.recordLength, 8192);
    EXPECT_EQ(a.dataSize, 9000);
    EXPECT_EQ(a.counter, 1000);
    EXPECT_EQ(a.blockCount, 2);
    EXPECT_EQ(a.blockPositions[0], 8192 + 64);
    EXPECT_EQ(a.blockPositions[1], 2 * 8192 + 64);
    EXPECT_EQ(a.recordType, kTypeVideo);
    EXPECT_EQ(a.blockNumber, 1);
    EXPECT_TRUE(a.complete);

    const FrameRecord& b = *archive_.slotAt(1);
    EXPECT_EQ(b.gMagnitude, 2.0);
    EXPECT_EQ(b.speed, 180);
    EXPECT_EQ(b.eventMark, 0);
}

TEST_F(VideoArchiveRecordTest, CountersWrapOnlyWellBeforeTheStartCounter)
{
    struct Case {
        std::uint32_t start, record;
        std::int64_t expected;
    };
    const Case cases[] = {
        {4'294'000'000u, 1'000, 4'294'968'295ll},           // one less than 2^32 is added
        {4'294'000'000u, 4'290'400'000u, 4'290'400'000ll},  // inside the window
        {4'294'000'000u, 4'290'399'999u, 4'290'399'999ll + 0xFFFFFFFFll},
        {3'599'999u, 0, 0},                                 // small start counters never wrap
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        RecordingFileBuilder file({{2009, 5, 2, 10, 0, 0}, c.start, 1});
        RecordingWriter::PictureFields fields;
        fields.counter = c.record;
        file.picture(fields, fixture::fakeJpeg(100));
        open(file.bytes);
        ASSERT_NE(archive_.slotAt(0), nullptr);
        EXPECT_EQ(archive_.slotAt(0)->counter, c.expected);
        archive_.close();
    }
}

TEST_F(VideoArchiveRecordTest, WrappedPicturesFollowThoseBeforeTheWrap)
{
    RecordingFileBuilder file({{2009, 5, 2, 10, 0, 0}, 4'294'967'000u, 1});
    RecordingWriter::PictureFields fields;
    fields.counter = 4'294'967'200u;
    fields.numberA = 1;
    file.picture(fields, fixture::fakeJpeg(100));
    fields.counter = 35; // 130 ms later, after the clock wrapped
    fields.numberA = 2;
    file.picture(fields, fixture::fakeJpeg(100));
    open(file.bytes);
    EXPECT_EQ(slotTags(), (std::vector<int>{1, 1, 1, 2}));
}

TEST_F(VideoArchiveRecordTest, InvalidDatesTakeThePreviousValidTime)
{
    RecordingFileBuilder file({{2009, 2, 29, 10, 0, 0}, 0, 1}); // no such day
    const auto add = [&file](int slot, RecordingFormat::LocalDateTime when) {
        RecordingWriter::PictureFields fields;
        fields.counter = 1000 + 36 * slot;
        fields.dateTime = when;
        file.picture(fields, fixture::fakeJpeg(100));
    };
    add(0, {2009, 2, 29, 23, 0, 0});
    add(1, {2009, 2, 28, 23, 59, 59});
    add(2, {2009, 2, 29, 0, 0, 0});
    add(3, {2009, 13, 1, 0, 0, 0});
    open(file.bytes);
    const std::int64_t valid = *localDateTime({2009, 2, 28, 23, 59, 59});
    EXPECT_EQ(archive_.startTime(), 0);
    EXPECT_EQ(archive_.slotAt(0)->time, 0);
    EXPECT_EQ(archive_.slotAt(1)->time, valid);
    EXPECT_EQ(archive_.slotAt(2)->time, valid);
    EXPECT_EQ(archive_.slotAt(3)->time, valid);
    EXPECT_EQ(archive_.firstFrameTime(), valid);
    EXPECT_EQ(archive_.lastFrameTime(), valid);
}

TEST_F(VideoArchiveRecordTest, FirstAndLastFrameTimesSkipSlotsWithoutTime)
{
    RecordingFileBuilder file({{2009, 2, 29, 10, 0, 0}, 0, 1});
    RecordingWriter::PictureFields fields;
    fields.counter = 1000;
    fields.dateTime = {2009, 2, 29, 0, 0, 0};
    file.picture(fields, fixture::fakeJpeg(100));
    fields.counter = 1036;
    fields.dateTime = {2009, 3, 1, 0, 0, 0};
    file.picture(fields, fixture::fakeJpeg(100));
    fields.counter = 1072;
    fields.dateTime = {2009, 3, 1, 0, 0, 5};
    file.picture(fields, fixture::fakeJpeg(100));
    open(file.bytes);
    EXPECT_EQ(archive_.firstFrameTime(), *localDateTime({2009, 3, 1, 0, 0, 0}));
    EXPECT_EQ(archive_.lastFrameTime(), *localDateTime({2009, 3, 1, 0, 0, 5}));
}

// ---- slots ------------------------------------------------------------------

TEST_F(VideoArchiveRecordTest, CrowdedSlotSpillsOnceThenPassesOnItsEventMark)
{
    RecordingFileBuilder file;
    RecordingWriter::PictureFields fields;
    for (std::uint32_t tag : {1u, 2u, 3u}) {
        fields.counter = 1000 + tag; // all in slot 0
        fields.numberA = tag;
        fields.event = tag == 3;
        file.picture(fields, fixture::fakeJpeg(100));
    }
    open(file.bytes);
    // The count follows the slot the pictures fell into, not the one used.
    EXPECT_EQ(archive_.slotCount(), 1);
    EXPECT_EQ(archive_.slotAt(1), nullptr);
    EXPECT_EQ(archive_.slotAt(0)->numberA, 1);
    EXPECT_EQ(archive_.slotAt(0)->eventMark, 0x20);
}

TEST_F(VideoArchiveRecordTest, GapsHoldEventlessCopiesOfThePictureBefore)
{
    RecordingFileBuilder file;
    RecordingWriter::PictureFields fields;
    fields.counter = 1000;
    fields.numberA = 1;
    fields.event = true;
    file.picture(fields, fixture::fakeJpeg(100));
    file.picture(0, 2).picture(3, 3); // slot 0 is taken: the second picture goes to slot 1
    open(file.bytes);
    EXPECT_EQ(slotTags(), (std::vector<int>{1, 2, 2, 3}));
    EXPECT_EQ(archive_.slotAt(0)->eventMark, 0x20);
    EXPECT_EQ(archive_.slotAt(2)->eventMark, 0);
    EXPECT_NE(archive_.slotAt(2), archive_.slotAt(1));
    EXPECT_EQ(archive_.slotAt(2)->blockPositions, archive_.slotAt(1)->blockPositions);
}

TEST_F(VideoArchiveRecordTest, CopiesComeFromPlacedPicturesOnlyAndDropTheirEvent)
{
    RecordingFileBuilder file;
    RecordingWriter::PictureFields fields;
    fields.counter = 1000;
    fields.numberA = 1;
    fields.event = true;
    file.picture(fields, fixture::fakeJpeg(100));
    file.picture(3, 2);
    open(file.bytes);
    EXPECT_EQ(slotTags(), (std::vector<int>{1, 1, 1, 2}));
    for (int i : {1, 2})
        EXPECT_EQ(archive_.slotAt(i)->eventMark, 0) << i;
}

TEST_F(VideoArchiveRecordTest, PicturesTooFarFromTheFirstAreDropped)
{
    RecordingFileBuilder file;
    file.picture(0, 1);
    RecordingWriter::PictureFields fields;
    fields.counter = 1000 + 1'071'400; // slot 29999: past the last usable slot
    fields.numberA = 2;
    file.picture(fields, fixture::fakeJpeg(100));
    fields.counter = 1000 + 1'071'385; // slot 29998
    fields.numberA = 3;
    file.picture(fields, fixture::fakeJpeg(100));
    open(file.bytes);
    ASSERT_EQ(archive_.slotCount(), 29999);
    EXPECT_EQ(archive_.slotAt(29998)->numberA, 3);
    EXPECT_EQ(archive_.slotAt(29997)->numberA, 1);
}

// ---- progress -----------------------------------------------------------------

TEST_F(VideoArchiveRecordTest, ProgressRisesByEighthsThenReports90And100)
{
    RecordingFileBuilder file;
    for (int i = 0; i < 16; ++i)
        file.picture(i, i + 1);
    open(file.bytes);
    EXPECT_EQ(progress_.percents, (std::vector<int>{20, 30, 40, 50, 60, 70, 80, 90, 90, 100}));
    EXPECT_EQ(progress_.pumps, 17); // before every record and before the read that finds the end
    EXPECT_TRUE(progress_.warnings.isEmpty());
}

} // namespace
