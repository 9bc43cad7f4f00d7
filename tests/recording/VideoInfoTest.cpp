#include "recording/VideoInfo.h"

#include "recording/ILoadingProgress.h"
#include "recording/RecordingFormat.h"
#include "recording/RecordingWriter.h"
#include "recording/VideoArchive.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

namespace {

using RecordingFormat::LocalDateTime;

// Never decoded here: the metadata view only reads what indexing found, so a
// start-of-image, an empty APP0 segment and an end-of-image are enough.
const std::vector<std::uint8_t> kPicture = {
    0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00, 0x01, 0x01, 0x00,
    0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0xFF, 0xD9,
};

// A recording of `pictureCount` pictures, one per slot of the 28-per-second
// grid, with the event mark on the pictures whose index is in `marked`.
class VideoInfoTest : public ::testing::Test {
protected:
    void openRecording(int pictureCount, const std::set<int>& marked)
    {
        RecordingWriter writer({start, 1000, 7});
        for (int i = 0; i < pictureCount; ++i) {
            RecordingWriter::PictureFields fields;
            fields.counter = static_cast<std::uint32_t>(1000 + (i * 1000 + 27) / 28); // slot i
            fields.dateTime = LocalDateTime{2009, 5, 2, 10, 0, i % 60}; // distinct first and last times
            fields.event = marked.count(i) > 0;
            writer.addPicture(kPicture, fields);
        }
        const QString path = dir.file("0001_001.DAT");
        writer.save(path);
        SilentLoadingProgress progress;
        archive.open(path, progress);
    }

    static std::vector<std::int32_t> eventFramesOf(const IVideoInfo& info)
    {
        std::vector<std::int32_t> list;
        info.copyEventFrames(list);
        return list;
    }

    const LocalDateTime start{2009, 5, 2, 9, 59, 58};
    TempDir dir;
    VideoArchive archive;
};

TEST_F(VideoInfoTest, EmptyArchiveHasNoFramesAndNoEvents)
{
    VideoInfo07 info(archive);
    info.buildEventFrames();

    EXPECT_EQ(info.frameCount(), 0);
    EXPECT_EQ(info.frameAt(0), nullptr);
    EXPECT_EQ(info.nextEventFrame(0), -1);
    EXPECT_TRUE(eventFramesOf(info).empty());
}

TEST_F(VideoInfoTest, FindsMarkedSlotsInOrder)
{
    openRecording(10, {3, 7});
    VideoInfo07 info(archive);
    ASSERT_EQ(info.frameCount(), 10);

    struct Case {
        std::int32_t from, next;
    };
    const Case cases[] = {{0, 3}, {3, 3}, {4, 7}, {7, 7}, {8, -1}, {-5, 3}, {10, -1}, {1'000'000, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(info.nextEventFrame(c.from), c.next) << "from " << c.from;

    EXPECT_TRUE(eventFramesOf(info).empty()) << "the list is empty until built";
    info.buildEventFrames();
    EXPECT_EQ(eventFramesOf(info), (std::vector<std::int32_t>{3, 7}));
    info.buildEventFrames(); // building again starts afresh
    EXPECT_EQ(eventFramesOf(info), (std::vector<std::int32_t>{3, 7}));
}

TEST_F(VideoInfoTest, MarksOnTheFirstAndLastSlotsCount)
{
    openRecording(5, {0, 4});
    VideoInfo07 info(archive);
    info.buildEventFrames();
    EXPECT_EQ(eventFramesOf(info), (std::vector<std::int32_t>{0, 4}));
}

TEST_F(VideoInfoTest, FramesExistOnlyInsideTheSlotRange)
{
    openRecording(4, {});
    VideoInfo07 info(archive);
    ASSERT_EQ(info.frameCount(), 4);

    EXPECT_EQ(info.frameAt(-1), nullptr);
    EXPECT_EQ(info.frameAt(4), nullptr);
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(info.frameAt(i), nullptr) << i;
        EXPECT_EQ(info.frameAt(i), archive.slotAt(i));
    }
    EXPECT_EQ(info.startTime(), RecordingFormat::localDateTime(start).value());
    EXPECT_EQ(info.firstFrameTime(), RecordingFormat::localDateTime({2009, 5, 2, 10, 0, 0}).value());
    EXPECT_EQ(info.lastFrameTime(), RecordingFormat::localDateTime({2009, 5, 2, 10, 0, 3}).value());
}

TEST_F(VideoInfoTest, CopyReplacesTheListsContents)
{
    openRecording(10, {3, 7});
    VideoInfo07 info(archive);
    info.buildEventFrames();

    std::vector<std::int32_t> list = {99, 1, 2, 5, 8};
    info.copyEventFrames(list);
    EXPECT_EQ(list, (std::vector<std::int32_t>{3, 7}));

    VideoInfo07 unbuilt(archive);
    unbuilt.copyEventFrames(list);
    EXPECT_TRUE(list.empty());
}

} // namespace
