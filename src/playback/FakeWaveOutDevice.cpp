#include "playback/FakeWaveOutDevice.h"

#include <algorithm>

bool FakeWaveOutDevice::open(const WaveFormat& f, BufferDone onDone)
{
    if (!openSucceeds)
        return false;
    format = f;
    onDone_ = std::move(onDone);
    isOpen = true;
    return true;
}

bool FakeWaveOutDevice::write(WaveBufferTag tag, std::span<const std::uint8_t> bytes)
{
    const bool alreadyHeld = std::any_of(held_.begin(), held_.end(),
                                         [&](const Held& h) { return h.tag.buffer == tag.buffer; });
    if (alreadyHeld)
        ++heldBufferRewritten;
    writes.push_back({tag, {bytes.begin(), bytes.end()}});
    if (!isOpen || !writeSucceeds || alreadyHeld)
        return false;
    held_.push_back({tag, bytes, {bytes.begin(), bytes.end()}});
    return true;
}

bool FakeWaveOutDevice::completeNext()
{
    if (held_.empty())
        return false;
    const Held done = held_.front();
    held_.pop_front();
    giveBack(done);
    return true;
}

void FakeWaveOutDevice::reset()
{
    ++resets;
    played = 0;
    while (completeNext()) {
    }
}

bool FakeWaveOutDevice::restart()
{
    ++restarts;
    return isOpen && restartSucceeds;
}

std::optional<std::uint64_t> FakeWaveOutDevice::bytesPlayed() const
{
    if (!isOpen)
        return std::nullopt;
    return played;
}

void FakeWaveOutDevice::close()
{
    held_.clear();
    isOpen = false;
}

void FakeWaveOutDevice::giveBack(const Held& held)
{
    if (!std::equal(held.memory.begin(), held.memory.end(), held.copy.begin(), held.copy.end()))
        ++heldBufferChanged;
    onDone_(held.tag);
}
