#pragma once

#include "imaging/Image.h"
#include "recording/VideoArchive.h"

#include <QEvent>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

class ILoadingProgress;
class QObject;
class VideoInfo07;

// Events the loader posts to its target (values of the program's messages).
namespace LoaderEvent {
constexpr QEvent::Type Tick = static_cast<QEvent::Type>(0x401);
constexpr QEvent::Type FrameReady = static_cast<QEvent::Type>(0x464);
}

// A decoded picture on its way to the target. The event owns the picture, so
// a picture whose receiver is gone is freed with the event.
class FrameReadyEvent : public QEvent {
public:
    FrameReadyEvent(std::uint64_t generation, int index, std::unique_ptr<Image> image)
        : QEvent(LoaderEvent::FrameReady), generation(generation), index(index), image(std::move(image)) {}

    const std::uint64_t generation; // the open it belongs to (ImageLoader::generation)
    const int index;
    std::unique_ptr<Image> image;   // null when the slot yielded no picture
};

// Milliseconds of a monotonic clock; the tick's time base.
std::uint64_t monotonicMs();

// Owns one VideoArchive and one worker thread. The UI thread opens and closes
// recordings (synchronously, under the archive lock) and asks for pictures
// without ever blocking; the worker decodes the latest request and posts it,
// and doubles as a one-shot timer that posts a tick when it falls due.
class ImageLoader {
public:
    static constexpr int kLockTimeoutMs = 3000;

    // `target` receives FrameReadyEvent and Tick events; with a null target
    // nothing is posted.
    explicit ImageLoader(QObject* target);
    ImageLoader(const ImageLoader&) = delete;
    ImageLoader& operator=(const ImageLoader&) = delete;
    virtual ~ImageLoader();

    // Waits up to 3000 ms for the archive, then opens the file in it. Raises
    // ImageException (5511) when the archive stays busy; a
    // VideoArchiveException from the open passes through unchanged.
    void openRecording(const QString& path, ILoadingProgress& progress);

    // Waits up to 3000 ms for the archive and closes it; false (the archive
    // stays open) when it stays busy.
    bool closeRecording();

    // Non-blocking. True when the request was handed over. False when the
    // archive is busy: while a decode runs, the latest refused request is
    // kept and served right after it, so a seek is never lost.
    bool requestPicture(int index);

    // The picture being decoded, if any, is thrown away instead of posted.
    void discardPending();

    // One-shot timer on monotonicMs(): a Tick is posted once `dueMs` passes.
    void armTick(std::uint64_t dueMs);
    void disarmTick();

    // A new VideoInfo07 over the archive, owned by the caller.
    std::unique_ptr<VideoInfo07> createVideoInfo() const;

    // Read-only view for the owner on the UI thread, after an open returned.
    const VideoArchive& archive() const { return archive_; }

    // Changes at every open and close; a FrameReadyEvent of another
    // generation belongs to a recording that is no longer open.
    std::uint64_t generation() const { return generation_.load(); }

private:
    void run();
    void work();
    bool lockArchive(int timeoutMs);
    void unlockArchive();
    void serveRequest(std::unique_lock<std::mutex>& state);
    void post(QEvent* event);

    QObject* const target_;

    // Guarded by archiveLock_ (taken by the UI thread for open and close, by
    // the worker for one decode).
    VideoArchive archive_;
    std::timed_mutex archiveLock_;
    std::atomic<std::thread::id> archiveOwner_{}; // lets a nested request fail instead of deadlocking

    std::atomic<std::uint64_t> generation_{0};

    // Guarded by stateMutex_; the worker sleeps on wake_ between jobs.
    std::mutex stateMutex_;
    std::condition_variable wake_;
    bool requestPending_ = false;
    int requestedIndex_ = 0;
    std::uint64_t requestGeneration_ = 0;
    bool tickArmed_ = false;
    std::uint64_t tickDue_ = 0;
    bool decoding_ = false;
    bool discardResult_ = false;
    bool quit_ = false;

    std::thread thread_; // last: starts after everything above is built
};
