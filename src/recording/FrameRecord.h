#pragma once

#include <array>
#include <cstdint>

// One record of a data file as the reader understood it: a picture (with its
// metadata) or, while a file is read, a block of sound.
struct FrameRecord {
    std::int32_t kindDigit = 0;
    std::int32_t pictureNumber = 0;
    std::int64_t time = 0;        // local date-time as seconds since 1970 UTC
    double gX = 0.0, gY = 0.0, gZ = 0.0;
    double gMagnitude = 0.0;      // at most 2.0
    std::int32_t speed = 0;       // at most 180
    std::int32_t numberA = 0;
    std::int32_t numberB = 0;
    std::int32_t eventMark = 0;   // 0x20 marks an event point
    std::int32_t recordLength = 0;
    std::int32_t dataSize = 0;    // the stored 32 bits; arithmetic treats them as unsigned
    std::int64_t counter = 0;     // milliseconds, corrected for wrap
    std::array<std::int64_t, 10> blockPositions{}; // file offset just after each block's header
    std::int32_t blockCount = 0;
    std::uint8_t recordType = 0;
    std::int32_t blockNumber = 0;
    std::uint32_t recordingId = 0;
    bool complete = false;
};
