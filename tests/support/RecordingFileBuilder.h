#pragma once

#include "recording/RecordingWriter.h"
#include "support/RecordingFixtures.h"

#include <cstdint>
#include <vector>

// Data files for the reader's tests: a file header, then pictures and sound
// appended record by record, with raw records and patches for damage.
class RecordingFileBuilder {
public:
    static constexpr std::uint32_t kBaseCounter = 1000;
    static constexpr std::uint32_t kSlotStepMs = 36; // one grid slot (35.7 ms) per step for small steps

    explicit RecordingFileBuilder(const RecordingWriter::FileHeaderFields& header = {}) : header_(header)
    {
        bytes = RecordingWriter(header).bytes();
    }

    // A picture that lands in `slot` when it is the earliest counter is
    // kBaseCounter; `tag` goes to numberA so tests can tell pictures apart.
    RecordingFileBuilder& picture(int slot, std::uint32_t tag, std::size_t storedSize = 100, bool withEnd = true)
    {
        RecordingWriter::PictureFields fields;
        fields.counter = kBaseCounter + kSlotStepMs * static_cast<std::uint32_t>(slot);
        fields.numberA = tag;
        return picture(fields, fixture::fakeJpeg(storedSize, withEnd));
    }

    RecordingFileBuilder& picture(const RecordingWriter::PictureFields& fields, const std::vector<std::uint8_t>& jpeg)
    {
        RecordingWriter writer(header_);
        writer.addPicture(jpeg, fields);
        return append(writer);
    }

    RecordingFileBuilder& sound(std::uint32_t counter, const std::vector<std::uint8_t>& samples)
    {
        RecordingWriter writer(header_);
        writer.addSound(counter, samples);
        return append(writer);
    }

    RecordingFileBuilder& raw(const fixture::RawRecord& record)
    {
        fixture::appendRaw(bytes, record);
        return *this;
    }

    // The header of record `index` (counting every 8192-byte record).
    std::uint8_t* record(int index) { return fixture::recordAt(bytes, index); }
    int recordCount() const { return static_cast<int>((bytes.size() - 8192) / 8192); }

    std::vector<std::uint8_t> bytes;

private:
    RecordingFileBuilder& append(const RecordingWriter& writer)
    {
        bytes.insert(bytes.end(), writer.bytes().begin() + 8192, writer.bytes().end());
        return *this;
    }

    RecordingWriter::FileHeaderFields header_;
};
