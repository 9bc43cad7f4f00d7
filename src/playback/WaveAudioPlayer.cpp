#include "playback/WaveAudioPlayer.h"

#include "errors/Exception.h"
#include "playback/SoundEvents.h"
#include "playback/WaveFile.h"
#include "text/TextTable.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

std::uint64_t steadyMs()
{
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

WaveAudioPlayer::WaveAudioPlayer(QObject* notifyTarget, std::unique_ptr<IWaveOutDevice> device)
    : notifyTarget_(notifyTarget), device_(std::move(device))
{
}

WaveAudioPlayer::~WaveAudioPlayer()
{
    close();
}

void WaveAudioPlayer::open(const QString& path)
{
    close();
    WaveSound sound = readWaveFile(path);
    format_ = sound.format;
    data_ = std::move(sound.samples);

    const unsigned bytesPerSecond = unsigned(format_.blockAlign) * format_.samplesPerSecond;
    chunkSize_ = int(bytesPerSecond / 5);
    bufferMemory_.assign(std::size_t(2) * chunkSize_, 0x80);
    byteRateX1000_ = int(bytesPerSecond * 1000);

    // Runs on the device's thread: post, nothing else.
    const auto post = [this](WaveBufferTag tag) { QCoreApplication::postEvent(this, new BufferDoneEvent(tag)); };
    if (!device_->open(format_, post))
        throw WaveAudioException(path);
    deviceOpen_ = true;
    status_ = Idle;
}

void WaveAudioPlayer::close()
{
    if (deviceOpen_) {
        chunkEnd_ = 0;
        ++run_;
        held_ = {};
        returning_ = 0;   // a closed device gives nothing back
        device_->close();
        deviceOpen_ = false;
    }
    status_ = NotOpen;
    byteRateX1000_ = 0;
    chunkEnd_ = 0;
    data_ = {};
    bufferMemory_ = {};
    chunkSize_ = 0;
}

void WaveAudioPlayer::playFrom(int ms)
{
    playStartTick_ = steadyMs();
    if (status_ == NotOpen) {
        startMs_ = ms;
        throw WaveAudioException(resourceText(TextId::DeviceNotOpen));
    }
    finished_ = false;
    resetFeed();
    const int start = msToByteIndex(ms);
    startMs_ = byteIndexToMs(start);

    const int n = writeChunk(start);
    if (n > 0) {
        writeChunk(start + n);
    } else {
        finished_ = true;
        notifySoundFinished();
    }
}

void WaveAudioPlayer::stop()
{
    requireOpen();
    resetFeed();
    status_ = Idle;
}

void WaveAudioPlayer::pause()
{
    requireOpen();
    resetFeed();
    status_ = Paused;
}

void WaveAudioPlayer::resume()
{
    requireOpen();
    if (finished_)
        notifySoundFinished();
    else if (device_->restart())
        status_ = Playing;
}

int WaveAudioPlayer::positionMs() const
{
    if (!deviceOpen_)
        return 0;
    const std::optional<std::uint64_t> played = device_->bytesPlayed();
    if (!played)
        return 0;
    return byteIndexToMs(std::int64_t(std::min<std::uint64_t>(*played, INT32_MAX))) + startMs_;
}

void WaveAudioPlayer::setVolume(int volume)
{
    volume_ = std::clamp(volume, 0, kUnityVolume);
}

bool WaveAudioPlayer::event(QEvent* event)
{
    if (event->type() == SoundEvent::BufferDone) {
        onBufferDone(static_cast<BufferDoneEvent*>(event)->tag);
        return true;
    }
    return QObject::event(event);
}

int WaveAudioPlayer::clampIndex(std::int64_t index) const
{
    if (dataLength() == 0 || index < 0)
        return 0;
    return int(std::min<std::int64_t>(index, dataLength() - 1));
}

int WaveAudioPlayer::msToByteIndex(int ms) const
{
    const unsigned bytesPerSecond = unsigned(format_.blockAlign) * format_.samplesPerSecond;
    return clampIndex(std::int64_t(std::trunc(double(bytesPerSecond) * ms / 1000.0)));
}

int WaveAudioPlayer::byteIndexToMs(std::int64_t index) const
{
    const int blocks = clampIndex(index) / format_.blockAlign;
    return int(std::trunc(blocks * 1000.0 / double(format_.samplesPerSecond)));
}

void WaveAudioPlayer::requireOpen() const
{
    if (status_ == NotOpen)
        throw WaveAudioException(resourceText(TextId::DeviceNotOpen));
}

// Ends the current run: the device silences and hands back what it holds,
// and those buffers come back as notices of a run that is over.
void WaveAudioPlayer::resetFeed()
{
    chunkEnd_ = 0;
    returning_ += heldCount();
    held_ = {};
    ++run_;
    device_->reset();
}

// Hands the chunk starting at `index` to the device and returns its length.
// The first chunk of a run ends on a multiple of chunkSize_; the last ends
// at dataLength - 1, so the final byte of the sound is never played.
int WaveAudioPlayer::writeChunk(int index)
{
    index = clampIndex(index);
    if (chunkSize_ == 0)
        return 0;
    const int end = std::min(chunkSize_ * ((index + chunkSize_) / chunkSize_), dataLength() - 1);
    chunkEnd_ = end;
    const int n = std::min(end - index, chunkSize_);
    if (n <= 0)
        return n;

    // A buffer the device still reads is never touched; the chunk is then
    // skipped like a refused write.
    const int buffer = nextBuffer_;
    if (held_[buffer])
        return n;
    std::uint8_t* out = bufferMemory_.data() + std::size_t(buffer) * chunkSize_;
    const std::uint8_t* in = data_.data() + index;
    for (int k = 0; k < n; ++k)
        out[k] = std::uint8_t(128 + (int(in[k]) - 128) * volume_ / kUnityVolume);

    if (!device_->write({run_, buffer}, std::span<const std::uint8_t>(out, std::size_t(n))))
        return n;
    held_[buffer] = true;
    nextBuffer_ = 1 - buffer;
    status_ = Playing;
    return n;
}

void WaveAudioPlayer::onBufferDone(WaveBufferTag tag)
{
    if (tag.run != run_) {
        // Given back by a reset. Once all are back after a stop or pause (no
        // new run being fed), the device is idle.
        if (returning_ > 0 && --returning_ == 0 && chunkEnd_ == 0 && deviceOpen_) {
            finished_ = false;
            notifySoundFinished();
        }
        return;
    }
    held_[tag.buffer & 1] = false;
    if (chunkEnd_ == 0)
        return;
    const int n = writeChunk(chunkEnd_);
    if (n <= 0 && heldCount() == 0) {
        finished_ = true;
        notifySoundFinished();
    }
}

void WaveAudioPlayer::notifySoundFinished()
{
    if (status_ != NotOpen)
        status_ = Idle;
    if (notifyTarget_)
        QCoreApplication::postEvent(notifyTarget_, new QEvent(SoundEvent::Finished));
}
