#pragma once

#include "playback/IWaveOutDevice.h"

#include <cstdint>
#include <deque>
#include <vector>

// A sound output driven by hand, for tests of whatever feeds one: buffers are
// done only when told, and the played count is whatever is set. It records
// every write and notices a buffer rewritten or changed while it held it.
class FakeWaveOutDevice : public IWaveOutDevice {
public:
    struct Write {
        WaveBufferTag tag;
        std::vector<std::uint8_t> bytes;   // as handed over
    };

    // Settings.
    bool openSucceeds = true;
    bool writeSucceeds = true;
    bool restartSucceeds = true;
    std::optional<std::uint64_t> played = 0;   // what bytesPlayed reports while open

    // Observations.
    bool isOpen = false;
    WaveFormat format;
    std::vector<Write> writes;
    int resets = 0;
    int restarts = 0;
    int heldBufferRewritten = 0;   // write of a buffer id the device still held
    int heldBufferChanged = 0;     // a held buffer's memory changed before it was done

    // Reports the oldest held buffer done (through the callback, so posted).
    // False when nothing is held.
    bool completeNext();
    int heldCount() const { return int(held_.size()); }

    bool open(const WaveFormat& format, BufferDone onDone) override;
    bool write(WaveBufferTag tag, std::span<const std::uint8_t> bytes) override;
    void reset() override;
    bool restart() override;
    std::optional<std::uint64_t> bytesPlayed() const override;
    void close() override;

private:
    struct Held {
        WaveBufferTag tag;
        std::span<const std::uint8_t> memory;
        std::vector<std::uint8_t> copy;
    };
    void giveBack(const Held& held);

    BufferDone onDone_;
    std::deque<Held> held_;
};
