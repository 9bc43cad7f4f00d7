#pragma once

#include "playback/IWaveOutDevice.h"

#include <QString>
#include <cstdint>
#include <vector>

// A whole sound track in memory.
struct WaveSound {
    WaveFormat format;
    std::vector<std::uint8_t> samples;
};

// Reads the sound file the recording reader writes: the canonical 44-byte
// header ("RIFF", size, "WAVE", "fmt ", size, a 16-byte PCM block, "data",
// length) and the samples right after it. Only 8-bit mono PCM at 13183
// samples per second with a block alignment of 1 is accepted, and the
// declared length must lie within the file. Anything else raises
// WaveAudioException whose text is the path; nothing is allocated from a
// header before it has passed every check.
WaveSound readWaveFile(const QString& path);

namespace WaveFileLayout {
constexpr int kHeaderSize = 44;
constexpr std::uint32_t kSampleRate = 13183;
}
