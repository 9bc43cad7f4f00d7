#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

// The PCM format of a sound, as a WAV file's format block holds it.
struct WaveFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint32_t averageBytesPerSecond = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
};

// Names one handed-over buffer: which of the player's buffers, and the run
// (the feed between two resets) it was written in. The device gives it back
// unchanged when the buffer is done.
struct WaveBufferTag {
    std::uint64_t run = 0;
    int buffer = 0;
};

// A sound output that plays buffers in the order they are written and tells
// when each is done. The done callback may run on a thread of the device:
// it must do nothing but post.
class IWaveOutDevice {
public:
    using BufferDone = std::function<void(WaveBufferTag)>;

    virtual ~IWaveOutDevice() = default;

    // False when no output can be opened for the format.
    virtual bool open(const WaveFormat& format, BufferDone onDone) = 0;

    // Queues the bytes after what is queued already. The device may read them
    // until it reports the buffer done, so the caller keeps them untouched
    // until then. False when the buffer was not taken (it is never reported).
    virtual bool write(WaveBufferTag tag, std::span<const std::uint8_t> bytes) = 0;

    // Silences the output at once and reports every buffer it still holds as
    // done; the played count starts again from 0.
    virtual void reset() = 0;

    // Continues output that was halted; false when the device cannot.
    virtual bool restart() = 0;

    // Bytes actually heard since the last reset: 0 until the output has
    // reported a time. Nothing when the device cannot tell (not open, lost).
    virtual std::optional<std::uint64_t> bytesPlayed() const = 0;

    // Ends output without reporting the buffers still held.
    virtual void close() = 0;
};

// The output of the desktop's sound server.
std::unique_ptr<IWaveOutDevice> createSystemWaveOutDevice();
