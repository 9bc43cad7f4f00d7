#pragma once

#include "playback/IWaveOutDevice.h"

#include <QEvent>

// Events of the sound player (values of the program's messages).
namespace SoundEvent {
// Device -> the player itself: one output buffer is done.
constexpr QEvent::Type BufferDone = static_cast<QEvent::Type>(0x401);
// Player -> its notification target: the sound has played out, or the
// device has given back its buffers after a stop or pause.
constexpr QEvent::Type Finished = static_cast<QEvent::Type>(0x3B9);
}

class BufferDoneEvent : public QEvent {
public:
    explicit BufferDoneEvent(WaveBufferTag tag) : QEvent(SoundEvent::BufferDone), tag(tag) {}
    const WaveBufferTag tag;
};
