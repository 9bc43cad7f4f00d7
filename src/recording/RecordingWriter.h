#pragma once

#include "recording/RecordingFormat.h"

#include <QString>
#include <cstdint>
#include <span>
#include <vector>

// Writes recording data files the way the recorder does: an 8192-byte file
// header, then records of 8192 bytes in the order they are added. Used for
// the demo card and for test fixtures; the viewer itself never writes one.
class RecordingWriter {
public:
    struct FileHeaderFields {
        RecordingFormat::LocalDateTime start{2009, 5, 2, 10, 0, 0};
        std::uint32_t startCounter = 0;
        std::uint32_t recordingId = 1;
    };

    struct PictureFields {
        std::uint32_t counter = 0;                      // recorder clock, ms
        RecordingFormat::LocalDateTime dateTime{2009, 5, 2, 10, 0, 0};
        std::int16_t gX = 0, gY = 0, gZ = 0;            // raw; 4096 is about 1 G
        int speed = 0;                                  // 4 BCD digits
        std::uint32_t numberA = 0, numberB = 0;         // 8 BCD digits each
        bool event = false;                             // event mark 0x20
        std::uint8_t kindDigit = 0;
    };

    explicit RecordingWriter(const FileHeaderFields& header);

    // Appends a picture as block records. `jpeg` is an ordinary JPEG starting
    // with SOI; it is stored in the recorder's form (the payload marker in
    // place of its first 16 bytes). Pictures above 81,136 stored bytes cannot
    // be read back and raise IOException.
    void addPicture(std::span<const std::uint8_t> jpeg, const PictureFields& fields);

    // Appends one sound record of up to 8128 unsigned 8-bit samples.
    void addSound(std::uint32_t counter, std::span<const std::uint8_t> samples);

    // The file as written so far.
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    // Writes the file; raises IOException on failure.
    void save(const QString& path) const;

    // An ordinary JPEG in its stored form: two 4-byte comment segments after
    // SOI (adding an empty APP0 segment when the JPEG has none first), then
    // the first 16 bytes replaced by the payload marker.
    static std::vector<std::uint8_t> storedPicture(std::span<const std::uint8_t> jpeg);

private:
    std::vector<std::uint8_t> bytes_;
    std::uint32_t recordingId_;
};
