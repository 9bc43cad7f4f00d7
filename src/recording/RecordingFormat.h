#pragma once

#include <array>
#include <cstdint>
#include <optional>

// The recorder's data file: an 8192-byte file header, then records of a
// 64-byte header and a body. Multi-byte integers are big-endian; dates are
// BCD YY MM DD hh mm ss (year 2000 + YY).
namespace RecordingFormat {

constexpr int kFileHeaderSize = 8192;
constexpr int kFileHeaderReadSize = 32;
constexpr int kRecordHeaderSize = 64;
constexpr int kPayloadMarkerSize = 16;
constexpr int kFirstBlockBody = 8128;    // picture bytes in block 1
constexpr int kLaterBlockPicture = 8112; // picture bytes in each later block
constexpr int kMaxBlocks = 10;
// The largest picture the block table can describe: 8128 + 9 * 8112.
constexpr std::uint32_t kMaxPictureSize = kFirstBlockBody + (kMaxBlocks - 1) * kLaterBlockPicture;
constexpr int kMaxSlots = 30000;
constexpr int kMaxPictures = 30000;
constexpr int kMaxSoundRecords = 30000;
constexpr double kSlotPeriodMs = 1000.0 / 28.0; // 35.714285714285715
constexpr int kSoundRate = 13183;
constexpr int kSoundLeadMs = 38;
constexpr std::int64_t kCounterWrapWindowMs = 3'600'000;
constexpr std::int64_t kCounterWrapAdd = 0xFFFFFFFFll; // one less than 2^32, as the recorder counts
constexpr int kSignatureSearchWindow = 1'048'576;
constexpr int kSoundChunk = 4096;
constexpr int kWavHeaderSize = 44;
constexpr double kGPerUnit = 0.00024414;
constexpr double kMaxGMagnitude = 2.0;
constexpr int kMaxSpeed = 180;

constexpr std::uint8_t kTypeVideo = 0x55;
constexpr std::uint8_t kTypeSound = 0xAA;
constexpr std::uint8_t kEventMark = 0x20;
constexpr std::uint8_t kSilence = 0x80;

// Record header offsets.
namespace Header {
constexpr int Length = 0, Counter = 4, DataSize = 8, Type = 12, Block = 13, RecordingId = 28,
              EventMark = 32, KindDigit = 33, DateTime = 34, GX = 40, GY = 42, GZ = 44,
              Speed = 46, NumberA = 48, NumberB = 52;
}
// File header offsets.
namespace FileHeader {
constexpr int DateTime = 2, StartCounter = 16, RecordingId = 28;
}

// "QUENTRAX-CO." and two zero bytes: bytes 2..15 of every video body.
constexpr std::array<std::uint8_t, 14> kSignature = {'Q', 'U', 'E', 'N', 'T', 'R', 'A', 'X',
                                                     '-', 'C', 'O', '.', 0, 0};
// What stands in a stored picture in place of its payload marker.
constexpr std::array<std::uint8_t, 16> kJpegStartBytes = {0xFF, 0xD8, 0xFF, 0xFE, 0x00, 0x04, 0x00, 0x00,
                                                         0xFF, 0xFE, 0x00, 0x04, 0x00, 0x00, 0xFF, 0xE0};

// The data version every file and settings file carries (major, minor):
// 0x04 0x02 unless start-up replaced it.
struct Version {
    std::uint8_t major = 0x04;
    std::uint8_t minor = 0x02;
};
Version dataVersion();
void setDataVersion(Version version);

// The payload marker: data version, then the signature.
std::array<std::uint8_t, 16> payloadMarker();

std::uint16_t readU16(const std::uint8_t* p);
std::uint32_t readU32(const std::uint8_t* p);
void writeU16(std::uint8_t* p, std::uint16_t value);
void writeU32(std::uint8_t* p, std::uint32_t value);

// n BCD bytes, two digits per byte, nibbles taken as they are (no check that
// a nibble is at most 9).
std::int64_t decodeBcd(const std::uint8_t* p, int n);
void encodeBcd(std::uint8_t* p, int n, std::uint64_t value);

struct LocalDateTime {
    int year, month, day, hour, minute, second;
};

// Six BCD bytes as local time: seconds since 1970-01-01 UTC when the values
// name a real local date-time (converting there and back gives them again),
// nothing otherwise.
std::optional<std::int64_t> bcdDateTime(const std::uint8_t* p);

// bcdDateTime remembering its last answer: the pictures of one second share
// their date-time, and every conversion makes the C library look at the
// time zone file again.
class BcdDateTimeCache {
public:
    std::optional<std::int64_t> convert(const std::uint8_t* p);

private:
    std::array<std::uint8_t, 6> last_{};
    std::optional<std::int64_t> answer_;
    bool filled_ = false;
};
std::optional<std::int64_t> localDateTime(const LocalDateTime& dt);
// The six BCD bytes of a local date-time (years 2000..2099).
void encodeBcdDateTime(std::uint8_t* p, const LocalDateTime& dt);
LocalDateTime toLocalDateTime(std::int64_t seconds);

// A record counter widened to 64 bits, corrected for the recorder's clock
// wrapping past 2^32 ms after the recording started.
std::int64_t unwrapCounter(std::uint32_t counter, std::int64_t startCounter);

} // namespace RecordingFormat
