#pragma once

#include "playback/SoundEvents.h"
#include "support/EventLoop.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QFile>
#include <QObject>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Header fields of a sound file; the defaults are what the recording reader
// writes.
struct WaveFields {
    std::string riff = "RIFF", wave = "WAVE", fmt = "fmt ", data = "data";
    std::uint32_t fmtSize = 16;
    std::uint16_t formatTag = 1, channels = 1;
    std::uint32_t sampleRate = 13183, bytesPerSecond = 13183;
    std::uint16_t blockAlign = 1, bitsPerSample = 8;
    std::vector<std::uint8_t> formatExtra;         // bytes between the format block and "data"
    std::optional<std::uint32_t> declaredLength;   // default: the number of samples
    std::vector<std::uint8_t> samples;
    std::optional<std::size_t> cutTo;              // file cut short after this many bytes
};

inline std::vector<std::uint8_t> waveBytes(const WaveFields& f)
{
    std::vector<std::uint8_t> out;
    auto tag = [&](const std::string& t) { out.insert(out.end(), t.begin(), t.end()); };
    auto u16 = [&](std::uint32_t v) { out.push_back(v & 0xFF); out.push_back((v >> 8) & 0xFF); };
    auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    const std::uint32_t length = f.declaredLength.value_or(std::uint32_t(f.samples.size()));
    tag(f.riff);
    u32(length + 36);
    tag(f.wave);
    tag(f.fmt);
    u32(f.fmtSize);
    u16(f.formatTag);
    u16(f.channels);
    u32(f.sampleRate);
    u32(f.bytesPerSecond);
    u16(f.blockAlign);
    u16(f.bitsPerSample);
    out.insert(out.end(), f.formatExtra.begin(), f.formatExtra.end());
    tag(f.data);
    u32(length);
    out.insert(out.end(), f.samples.begin(), f.samples.end());
    if (f.cutTo)
        out.resize(*f.cutTo);
    return out;
}

inline QString writeBytes(const TempDir& dir, const QString& name, const std::vector<std::uint8_t>& bytes)
{
    const QString path = dir.file(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size()))
        return {};
    return path;
}

// Samples that tell their position: byte i is i mod 251 (a prime, so no
// chunk boundary lines up with the pattern).
inline std::vector<std::uint8_t> countingSamples(std::size_t n)
{
    std::vector<std::uint8_t> s(n);
    for (std::size_t i = 0; i < n; ++i)
        s[i] = std::uint8_t(i % 251);
    return s;
}

// Delivers events for the given wall time.
inline void processFor(int ms)
{
    processUntil([] { return false; }, ms);
}

inline void processPending()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Stands in for the video player: counts the sound-finished events.
class FinishedCounter : public QObject {
public:
    int count = 0;
    bool event(QEvent* e) override
    {
        if (e->type() == SoundEvent::Finished) {
            ++count;
            return true;
        }
        return QObject::event(e);
    }
};
