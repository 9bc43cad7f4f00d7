#include "playback/WaveFile.h"

#include "errors/Exception.h"

#include <QFile>
#include <cstring>
#include <limits>

namespace {

std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

std::uint32_t le32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool tagAt(const unsigned char* header, int offset, const char (&tag)[5])
{
    return std::memcmp(header + offset, tag, 4) == 0;
}

WaveFormat formatOf(const unsigned char* header)
{
    WaveFormat f;
    f.formatTag = le16(header + 20);
    f.channels = le16(header + 22);
    f.samplesPerSecond = le32(header + 24);
    f.averageBytesPerSecond = le32(header + 28);
    f.blockAlign = le16(header + 32);
    f.bitsPerSample = le16(header + 34);
    return f;
}

bool playable(const WaveFormat& f)
{
    return f.formatTag == 1 && f.channels == 1 && f.samplesPerSecond == WaveFileLayout::kSampleRate &&
           f.blockAlign == 1 && f.bitsPerSample == 8;
}

} // namespace

WaveSound readWaveFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw WaveAudioException(path);

    unsigned char header[WaveFileLayout::kHeaderSize];
    if (file.read(reinterpret_cast<char*>(header), sizeof header) != qint64(sizeof header))
        throw WaveAudioException(path);

    // The one gate: layout, format and a data length that the file holds
    // (and that the player's 32-bit byte indexes can address).
    const WaveFormat format = formatOf(header);
    const std::uint32_t dataLength = le32(header + 40);
    const qint64 available = file.size() - WaveFileLayout::kHeaderSize;
    if (!tagAt(header, 0, "RIFF") || !tagAt(header, 8, "WAVE") || !tagAt(header, 12, "fmt ") ||
        !tagAt(header, 36, "data") || !playable(format) || dataLength > available ||
        dataLength > std::uint32_t(std::numeric_limits<std::int32_t>::max()))
        throw WaveAudioException(path);

    WaveSound sound{format, std::vector<std::uint8_t>(dataLength)};
    if (dataLength > 0 &&
        file.read(reinterpret_cast<char*>(sound.samples.data()), dataLength) != qint64(dataLength))
        throw WaveAudioException(path);
    return sound;
}
