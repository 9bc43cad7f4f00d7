#include "recording/RecordingWriter.h"

#include "errors/Exception.h"

#include <QFile>

#include <algorithm>

using namespace RecordingFormat;

namespace {

constexpr std::size_t kRecordSize = 8192;
constexpr std::size_t kRecordBody = kRecordSize - kRecordHeaderSize;

// A comment segment holding two zero bytes: the recorder puts two of them
// right after SOI.
constexpr std::uint8_t kEmptyComment[] = {0xFF, 0xFE, 0x00, 0x04, 0x00, 0x00};
// An APP0 segment with nothing in it, for JPEGs that do not start with one.
constexpr std::uint8_t kEmptyApp0[] = {0xFF, 0xE0, 0x00, 0x02};

// Appends one zero-filled record of 8192 bytes with its header filled in.
std::uint8_t* appendRecord(std::vector<std::uint8_t>& bytes, std::uint32_t recordingId, std::uint32_t counter,
                           std::uint32_t dataSize, std::uint8_t type, int block)
{
    const std::size_t start = bytes.size();
    bytes.resize(start + kRecordSize, 0);
    std::uint8_t* record = bytes.data() + start;
    writeU32(record + Header::Length, kRecordSize);
    writeU32(record + Header::Counter, counter);
    writeU32(record + Header::DataSize, dataSize);
    record[Header::Type] = type;
    record[Header::Block] = static_cast<std::uint8_t>(block);
    writeU32(record + Header::RecordingId, recordingId);
    return record;
}

// Block 1 of a picture carries its metadata.
void writePictureFields(std::uint8_t* record, const RecordingWriter::PictureFields& fields)
{
    record[Header::EventMark] = fields.event ? kEventMark : 0;
    record[Header::KindDigit] = fields.kindDigit;
    encodeBcdDateTime(record + Header::DateTime, fields.dateTime);
    writeU16(record + Header::GX, static_cast<std::uint16_t>(fields.gX));
    writeU16(record + Header::GY, static_cast<std::uint16_t>(fields.gY));
    writeU16(record + Header::GZ, static_cast<std::uint16_t>(fields.gZ));
    encodeBcd(record + Header::Speed, 2, static_cast<std::uint64_t>(fields.speed));
    encodeBcd(record + Header::NumberA, 4, fields.numberA);
    encodeBcd(record + Header::NumberB, 4, fields.numberB);
}

} // namespace

RecordingWriter::RecordingWriter(const FileHeaderFields& header)
    : bytes_(kFileHeaderSize, 0), recordingId_(header.recordingId)
{
    encodeBcdDateTime(bytes_.data() + FileHeader::DateTime, header.start);
    writeU32(bytes_.data() + FileHeader::StartCounter, header.startCounter);
    writeU32(bytes_.data() + FileHeader::RecordingId, header.recordingId);
}

std::vector<std::uint8_t> RecordingWriter::storedPicture(std::span<const std::uint8_t> jpeg)
{
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8)
        throw IOException(QStringLiteral("Not a JPEG picture: it does not start with SOI"));
    std::vector<std::uint8_t> stored(jpeg.begin(), jpeg.begin() + 2);
    stored.insert(stored.end(), std::begin(kEmptyComment), std::end(kEmptyComment));
    stored.insert(stored.end(), std::begin(kEmptyComment), std::end(kEmptyComment));
    if (jpeg[2] != 0xFF || jpeg[3] != 0xE0)
        stored.insert(stored.end(), std::begin(kEmptyApp0), std::end(kEmptyApp0));
    stored.insert(stored.end(), jpeg.begin() + 2, jpeg.end());
    const auto marker = payloadMarker();
    std::copy(marker.begin(), marker.end(), stored.begin());
    return stored;
}

void RecordingWriter::addPicture(std::span<const std::uint8_t> jpeg, const PictureFields& fields)
{
    const std::vector<std::uint8_t> stored = storedPicture(jpeg);
    if (stored.size() > kMaxPictureSize)
        throw IOException(QStringLiteral("Picture of %1 bytes is larger than a recording can hold (%2 bytes)")
                              .arg(stored.size())
                              .arg(kMaxPictureSize));
    const auto size = static_cast<std::uint32_t>(stored.size());
    const Version version = dataVersion();
    const auto marker = payloadMarker();
    std::size_t done = 0;
    for (int block = 1; done < stored.size(); ++block) {
        std::uint8_t* record = appendRecord(bytes_, recordingId_, fields.counter, size, kTypeVideo, block);
        std::uint8_t* body = record + kRecordHeaderSize;
        std::size_t room = kFirstBlockBody;
        if (block == 1) {
            writePictureFields(record, fields);
        } else {
            std::copy(marker.begin(), marker.end(), body);
            body[0] = version.major;
            body[1] = version.minor;
            body += kPayloadMarkerSize;
            room = kLaterBlockPicture;
        }
        const std::size_t take = std::min(room, stored.size() - done);
        std::copy_n(stored.begin() + static_cast<std::ptrdiff_t>(done), take, body);
        done += take;
    }
}

void RecordingWriter::addSound(std::uint32_t counter, std::span<const std::uint8_t> samples)
{
    if (samples.size() > kRecordBody)
        throw IOException(QStringLiteral("Sound record of %1 samples exceeds %2").arg(samples.size()).arg(kRecordBody));
    std::uint8_t* record = appendRecord(bytes_, recordingId_, counter, static_cast<std::uint32_t>(samples.size()), kTypeSound, 1);
    std::copy(samples.begin(), samples.end(), record + kRecordHeaderSize);
}

void RecordingWriter::save(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw IOException(QStringLiteral("Cannot create %1: %2").arg(path, file.errorString()));
    const auto size = static_cast<qint64>(bytes_.size());
    if (file.write(reinterpret_cast<const char*>(bytes_.data()), size) != size || !file.flush())
        throw IOException(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}
