#include "loader/ImageLoader.h"

#include "errors/Exception.h"
#include "imaging/ImageCodecs.h"
#include "recording/ILoadingProgress.h"
#include "recording/RecordingWriter.h"
#include "recording/VideoInfo.h"
#include "support/EventLoop.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Collects what the loader posts.
class Receiver : public QObject {
public:
    struct Frame {
        std::uint64_t generation;
        int index;
        bool hasImage;
        int width;
    };
    std::vector<Frame> frames;
    int ticks = 0;

    bool event(QEvent* e) override
    {
        if (e->type() == LoaderEvent::FrameReady) {
            auto* f = static_cast<FrameReadyEvent*>(e);
            frames.push_back({f->generation, f->index, f->image != nullptr, f->image ? f->image->width() : 0});
            return true;
        }
        if (e->type() == LoaderEvent::Tick) {
            ++ticks;
            return true;
        }
        return QObject::event(e);
    }
};

void settle(int ms = 100)
{
    processUntil([] { return false; }, ms);
}

// A recording whose frame i is a picture i + 8 pixels wide, so a delivered
// picture tells which slot it came from.
QString writeRecording(const TempDir& dir, int frames)
{
    RecordingWriter writer({});
    for (int i = 0; i < frames; ++i) {
        auto image = Image::create(8 + i, 8);
        RecordingWriter::PictureFields fields;
        fields.counter = static_cast<std::uint32_t>(1000 + i * 36);
        fields.event = (i == 2);
        writer.addPicture(encodeJpeg(*image, 80), fields);
    }
    const QString path = dir.file("0001_001.DAT");
    writer.save(path);
    return path;
}

// Holds the archive inside an open on another thread until released, the
// way a long open on the UI thread keeps the worker waiting.
class BlockingProgress : public ILoadingProgress {
public:
    void showLoadingProgress(int) override {}
    void showWarning(const QString&) override {}
    void pumpEvents() override
    {
        std::unique_lock lock(mutex_);
        entered_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return released_; });
    }
    void waitUntilInside()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return entered_; });
    }
    void release()
    {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool entered_ = false;
    bool released_ = false;
};

class ImageLoaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureCoreApplication(); }

    TempDir dir;
    Receiver receiver;
    SilentLoadingProgress silent;
};

} // namespace

TEST_F(ImageLoaderTest, DeliversTheRequestedPictureOfTheOpenRecording)
{
    ImageLoader loader(&receiver);
    loader.openRecording(writeRecording(dir, 5), silent);
    ASSERT_EQ(loader.archive().slotCount(), 5);

    EXPECT_TRUE(loader.requestPicture(3));
    ASSERT_TRUE(processUntil([&] { return !receiver.frames.empty(); }));
    EXPECT_EQ(receiver.frames[0].index, 3);
    EXPECT_TRUE(receiver.frames[0].hasImage);
    EXPECT_EQ(receiver.frames[0].width, 11);
    EXPECT_EQ(receiver.frames[0].generation, loader.generation());

    const auto info = loader.createVideoInfo();
    info->buildEventFrames();
    EXPECT_EQ(info->frameCount(), 5);
    EXPECT_EQ(info->nextEventFrame(0), 2);
}

TEST_F(ImageLoaderTest, SlotWithoutPictureStillAnswers)
{
    ImageLoader loader(&receiver);
    loader.openRecording(writeRecording(dir, 2), silent);
    loader.requestPicture(7); // beyond the frame count
    ASSERT_TRUE(processUntil([&] { return !receiver.frames.empty(); }));
    EXPECT_EQ(receiver.frames[0].index, 7);
    EXPECT_FALSE(receiver.frames[0].hasImage);
}

TEST_F(ImageLoaderTest, RefusedRequestsAreServedAfterTheBusySpellLatestOnly)
{
    ImageLoader loader(&receiver);
    const QString path = writeRecording(dir, 6);
    loader.openRecording(path, silent);

    // A second open holds the archive, as a long open does.
    BlockingProgress blocking;
    auto opening = std::async(std::launch::async, [&] { loader.openRecording(path, blocking); });
    blocking.waitUntilInside();

    EXPECT_FALSE(loader.requestPicture(1));
    EXPECT_FALSE(loader.requestPicture(4));
    settle();
    EXPECT_TRUE(receiver.frames.empty()) << "nothing is decoded while the archive is busy";

    blocking.release();
    opening.get();
    ASSERT_TRUE(processUntil([&] { return !receiver.frames.empty(); }));
    settle();
    ASSERT_EQ(receiver.frames.size(), 1u) << "only the latest request is served, once";
    EXPECT_EQ(receiver.frames[0].index, 4);
    EXPECT_TRUE(receiver.frames[0].hasImage);
}

TEST_F(ImageLoaderTest, RequestOfARecordingClosedMeanwhileIsNeverServed)
{
    ImageLoader loader(&receiver);
    const QString path = writeRecording(dir, 6);

    // The request waits behind an open; a close comes before the worker
    // gets to it.
    BlockingProgress blocking;
    auto opening = std::async(std::launch::async, [&] { loader.openRecording(path, blocking); });
    blocking.waitUntilInside();
    EXPECT_FALSE(loader.requestPicture(3));
    const std::uint64_t requestedIn = loader.generation();
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        blocking.release();
    });
    EXPECT_TRUE(loader.closeRecording());
    releaser.join();
    opening.get();

    settle(200);
    EXPECT_NE(loader.generation(), requestedIn);
    EXPECT_TRUE(receiver.frames.empty()) << "a picture of a closed recording was posted";
    EXPECT_EQ(loader.archive().slotCount(), 0);
}

TEST_F(ImageLoaderTest, EachOpenAndCloseStartsANewGeneration)
{
    ImageLoader loader(&receiver);
    const QString path = writeRecording(dir, 3);
    const std::uint64_t before = loader.generation();
    loader.openRecording(path, silent);
    const std::uint64_t opened = loader.generation();
    loader.requestPicture(0);
    ASSERT_TRUE(processUntil([&] { return !receiver.frames.empty(); }));
    EXPECT_EQ(receiver.frames[0].generation, opened);
    ASSERT_TRUE(loader.closeRecording());
    EXPECT_NE(opened, before);
    EXPECT_NE(loader.generation(), opened);
}

TEST_F(ImageLoaderTest, OwnerAskingAgainDuringAnOpenIsRefusedNotDeadlocked)
{
    ImageLoader loader(&receiver);
    const QString path = writeRecording(dir, 3);

    struct Reentrant : SilentLoadingProgress {
        ImageLoader* loader = nullptr;
        bool requested = true;
        bool nestedOpenRefused = false;
        void pumpEvents() override
        {
            if (!loader)
                return;
            ImageLoader* l = std::exchange(loader, nullptr);
            requested = l->requestPicture(0);
            SilentLoadingProgress silent;
            try {
                l->openRecording(QStringLiteral("/nonexistent"), silent);
            } catch (const ImageException&) {
                nestedOpenRefused = true;
            }
        }
    } reentrant;
    reentrant.loader = &loader;
    loader.openRecording(path, reentrant);

    EXPECT_FALSE(reentrant.requested);
    EXPECT_TRUE(reentrant.nestedOpenRefused);
    EXPECT_EQ(loader.archive().slotCount(), 3);
}

TEST_F(ImageLoaderTest, OpenFailurePassesTheArchiveExceptionThrough)
{
    ImageLoader loader(&receiver);
    EXPECT_THROW(loader.openRecording(dir.file("missing.DAT"), silent), VideoArchiveException);
    // The archive lock was released: a later open works.
    loader.openRecording(writeRecording(dir, 2), silent);
    EXPECT_EQ(loader.archive().slotCount(), 2);
}

TEST_F(ImageLoaderTest, TickFiresOnceWhenDueAndNotWhenDisarmed)
{
    ImageLoader loader(&receiver);
    const std::uint64_t armedAt = monotonicMs();
    loader.armTick(armedAt + 30);
    ASSERT_TRUE(processUntil([&] { return receiver.ticks > 0; }));
    EXPECT_GE(monotonicMs(), armedAt + 30);
    settle(100);
    EXPECT_EQ(receiver.ticks, 1);

    loader.armTick(monotonicMs() + 40);
    loader.disarmTick();
    settle(150);
    EXPECT_EQ(receiver.ticks, 1);
}

TEST_F(ImageLoaderTest, DiscardWithNoDecodeRunningDoesNotEatTheNextPicture)
{
    ImageLoader loader(&receiver);
    loader.openRecording(writeRecording(dir, 3), silent);
    loader.discardPending();
    loader.requestPicture(1);
    ASSERT_TRUE(processUntil([&] { return !receiver.frames.empty(); }));
    EXPECT_EQ(receiver.frames[0].index, 1);
}

TEST_F(ImageLoaderTest, PicturesPostedToAGoneReceiverAreFreedWithTheirEvents)
{
    auto target = std::make_unique<Receiver>();
    {
        ImageLoader loader(target.get());
        loader.openRecording(writeRecording(dir, 3), silent);
        loader.requestPicture(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(100)); // posted, not yet delivered
    }
    target.reset(); // Qt drops the pending event, and the event owns its picture (checked under ASan)
    SUCCEED();
}
