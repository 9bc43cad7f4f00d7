#include "recording/RecordingFormat.h"

#include <algorithm>
#include <atomic>
#include <ctime>

namespace RecordingFormat {

namespace {
// Written once at start-up, read from any thread afterwards.
std::atomic<std::uint16_t> gDataVersion{0x0402};
} // namespace

Version dataVersion()
{
    const std::uint16_t v = gDataVersion.load(std::memory_order_relaxed);
    return {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v & 0xFF)};
}

void setDataVersion(Version version)
{
    gDataVersion.store(static_cast<std::uint16_t>(version.major << 8 | version.minor),
                       std::memory_order_relaxed);
}

std::array<std::uint8_t, 16> payloadMarker()
{
    const Version v = dataVersion();
    std::array<std::uint8_t, 16> marker{};
    marker[0] = v.major;
    marker[1] = v.minor;
    for (std::size_t i = 0; i < kSignature.size(); ++i)
        marker[2 + i] = kSignature[i];
    return marker;
}

std::uint16_t readU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

std::uint32_t readU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

void writeU16(std::uint8_t* p, std::uint16_t value)
{
    p[0] = static_cast<std::uint8_t>(value >> 8);
    p[1] = static_cast<std::uint8_t>(value);
}

void writeU32(std::uint8_t* p, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

std::int64_t decodeBcd(const std::uint8_t* p, int n)
{
    std::int64_t value = 0;
    for (int i = 0; i < n; ++i)
        value = value * 100 + 10 * (p[i] >> 4) + (p[i] & 0x0F);
    return value;
}

void encodeBcd(std::uint8_t* p, int n, std::uint64_t value)
{
    for (int i = n - 1; i >= 0; --i) {
        const unsigned pair = static_cast<unsigned>(value % 100);
        value /= 100;
        p[i] = static_cast<std::uint8_t>((pair / 10) << 4 | (pair % 10));
    }
}

std::optional<std::int64_t> localDateTime(const LocalDateTime& dt)
{
    std::tm tm{};
    tm.tm_year = dt.year - 1900;
    tm.tm_mon = dt.month - 1;
    tm.tm_mday = dt.day;
    tm.tm_hour = dt.hour;
    tm.tm_min = dt.minute;
    tm.tm_sec = dt.second;
    tm.tm_isdst = -1; // daylight saving is the system's choice
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1))
        return std::nullopt;
    std::tm back{};
    if (!localtime_r(&t, &back))
        return std::nullopt;
    if (back.tm_year != dt.year - 1900 || back.tm_mon != dt.month - 1 || back.tm_mday != dt.day ||
        back.tm_hour != dt.hour || back.tm_min != dt.minute || back.tm_sec != dt.second)
        return std::nullopt;
    return static_cast<std::int64_t>(t);
}

std::optional<std::int64_t> bcdDateTime(const std::uint8_t* p)
{
    const LocalDateTime dt{2000 + static_cast<int>(decodeBcd(p, 1)), static_cast<int>(decodeBcd(p + 1, 1)),
                           static_cast<int>(decodeBcd(p + 2, 1)), static_cast<int>(decodeBcd(p + 3, 1)),
                           static_cast<int>(decodeBcd(p + 4, 1)), static_cast<int>(decodeBcd(p + 5, 1))};
    return localDateTime(dt);
}

std::optional<std::int64_t> BcdDateTimeCache::convert(const std::uint8_t* p)
{
    if (!filled_ || !std::equal(last_.begin(), last_.end(), p)) {
        std::copy(p, p + last_.size(), last_.begin());
        answer_ = bcdDateTime(p);
        filled_ = true;
    }
    return answer_;
}

void encodeBcdDateTime(std::uint8_t* p, const LocalDateTime& dt)
{
    encodeBcd(p, 1, static_cast<std::uint64_t>(dt.year - 2000));
    encodeBcd(p + 1, 1, static_cast<std::uint64_t>(dt.month));
    encodeBcd(p + 2, 1, static_cast<std::uint64_t>(dt.day));
    encodeBcd(p + 3, 1, static_cast<std::uint64_t>(dt.hour));
    encodeBcd(p + 4, 1, static_cast<std::uint64_t>(dt.minute));
    encodeBcd(p + 5, 1, static_cast<std::uint64_t>(dt.second));
}

LocalDateTime toLocalDateTime(std::int64_t seconds)
{
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::int64_t unwrapCounter(std::uint32_t counter, std::int64_t startCounter)
{
    const std::int64_t widened = counter;
    if (startCounter - kCounterWrapWindowMs > widened)
        return widened + kCounterWrapAdd;
    return widened;
}

} // namespace RecordingFormat
