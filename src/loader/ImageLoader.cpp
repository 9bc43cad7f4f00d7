#include "loader/ImageLoader.h"

#include "errors/Exception.h"
#include "errors/FatalError.h"
#include "recording/VideoInfo.h"
#include "text/TextTable.h"

#include <QCoreApplication>
#include <chrono>

std::uint64_t monotonicMs()
{
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

ImageLoader::ImageLoader(QObject* target)
    : target_(target), thread_([this] { run(); })
{
}

ImageLoader::~ImageLoader()
{
    {
        std::lock_guard state(stateMutex_);
        quit_ = true;
    }
    wake_.notify_all();
    // The worker finishes at most the one decode it is running.
    thread_.join();
}

bool ImageLoader::lockArchive(int timeoutMs)
{
    // The owner asking again (say, from an event serviced during an open)
    // is refused rather than deadlocked.
    if (archiveOwner_.load() == std::this_thread::get_id())
        return false;
    const bool locked = timeoutMs == 0
                            ? archiveLock_.try_lock()
                            : archiveLock_.try_lock_for(std::chrono::milliseconds(timeoutMs));
    if (locked)
        archiveOwner_.store(std::this_thread::get_id());
    return locked;
}

void ImageLoader::unlockArchive()
{
    archiveOwner_.store(std::thread::id());
    archiveLock_.unlock();
}

void ImageLoader::openRecording(const QString& path, ILoadingProgress& progress)
{
    ++generation_; // a decode still running belongs to the recording being replaced
    if (!lockArchive(kLockTimeoutMs))
        throw ImageException(resourceText(TextId::CannotReadImageArchive));
    try {
        archive_.open(path, progress);
    } catch (...) {
        unlockArchive();
        throw;
    }
    unlockArchive();
}

bool ImageLoader::closeRecording()
{
    ++generation_;
    if (!lockArchive(kLockTimeoutMs))
        return false;
    archive_.close();
    unlockArchive();
    return true;
}

bool ImageLoader::requestPicture(int index)
{
    const bool free = lockArchive(0);
    {
        std::lock_guard state(stateMutex_);
        requestPending_ = true;
        requestedIndex_ = index;
        requestGeneration_ = generation_.load();
    }
    if (free)
        unlockArchive();
    wake_.notify_all();
    return free;
}

void ImageLoader::discardPending()
{
    std::lock_guard state(stateMutex_);
    if (decoding_)
        discardResult_ = true;
}

void ImageLoader::armTick(std::uint64_t dueMs)
{
    {
        std::lock_guard state(stateMutex_);
        tickDue_ = dueMs;
        tickArmed_ = true;
    }
    wake_.notify_all();
}

void ImageLoader::disarmTick()
{
    std::lock_guard state(stateMutex_);
    tickArmed_ = false;
}

std::unique_ptr<VideoInfo07> ImageLoader::createVideoInfo() const
{
    return std::make_unique<VideoInfo07>(archive_);
}

void ImageLoader::post(QEvent* event)
{
    if (target_)
        QCoreApplication::postEvent(target_, event);
    else
        delete event;
}

void ImageLoader::run()
{
    // Nothing may escape the thread: a failure goes to the UI thread's guard.
    try {
        work();
    } catch (...) {
        postFatalError(std::current_exception());
    }
}

void ImageLoader::work()
{
    std::unique_lock state(stateMutex_);
    while (!quit_) {
        if (requestPending_) {
            serveRequest(state);
            continue;
        }
        if (tickArmed_) {
            if (monotonicMs() >= tickDue_) {
                tickArmed_ = false;
                post(new QEvent(LoaderEvent::Tick));
                continue;
            }
            const auto due = std::chrono::steady_clock::time_point(std::chrono::milliseconds(tickDue_));
            wake_.wait_until(state, due);
        } else {
            wake_.wait(state);
        }
    }
}

// Called and returns with `state` held. The request is read only once the
// archive is free, so requests made while it was busy collapse into the
// latest; the decode itself runs without `state`, so requests, ticks and
// discards never wait for it.
void ImageLoader::serveRequest(std::unique_lock<std::mutex>& state)
{
    decoding_ = true;
    state.unlock();
    archiveLock_.lock();
    state.lock();

    const int index = requestedIndex_;
    const std::uint64_t generation = requestGeneration_;
    requestPending_ = false;
    // A request made before the last open or close names a recording that is
    // no longer in the archive.
    const bool current = target_ && generation == generation_.load() && !quit_;

    std::unique_ptr<Image> image;
    if (current) {
        state.unlock();
        image = archive_.readFrame(index);
        state.lock();
    }
    decoding_ = false;
    const bool discard = std::exchange(discardResult_, false);
    if (current && !discard && !quit_ && generation == generation_.load())
        post(new FrameReadyEvent(generation, index, std::move(image)));
    archiveLock_.unlock();
}
