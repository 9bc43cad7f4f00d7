#include "recording/VideoArchive.h"

#include "errors/Exception.h"
#include "imaging/ImageCodecs.h"
#include "recording/ILoadingProgress.h"
#include "recording/RecordingFormat.h"
#include "text/TextTable.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace RecordingFormat;

namespace {

// ---- Data file access: positioned reads, so readFrame on the loader's
// thread and the index never share a file position.

// The file at `path` opened read-only, or -1 when it cannot be opened or is
// not a regular file (a folder or a device is no recording).
int openRegularFile(const QString& path, std::int64_t& size)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    size = st.st_size;
    return fd;
}

// Up to `count` bytes from `position`; fewer only at the end of the file or
// on an error.
std::size_t readUpTo(int fd, std::int64_t position, void* buffer, std::size_t count)
{
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd, out + done, count - done, static_cast<off_t>(position + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool readFully(int fd, std::int64_t position, void* buffer, std::size_t count)
{
    return position >= 0 && readUpTo(fd, position, buffer, count) == count;
}

// Up to `count` bytes at the file position; fewer when the disk is full or
// the write fails.
std::size_t writeUpTo(int fd, const std::uint8_t* data, std::size_t count)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd, data + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// ---- Where the bytes of a stored picture lie: block 1 holds bytes
// 0..8127 right after its header, every later block 8112 more after its 16
// leading bytes.

// Reads picture bytes [first, first + count) across its blocks; false when a
// byte lies in a block the record does not hold or a read falls short.
bool readPictureBytes(int fd, const FrameRecord& picture, std::int64_t first, std::int64_t count,
                      std::uint8_t* out)
{
    while (count > 0) {
        int block = 0;
        std::int64_t inBlock = first;
        std::int64_t blockSize = kFirstBlockBody;
        std::int64_t bodyOffset = 0;
        if (first >= kFirstBlockBody) {
            const std::int64_t later = first - kFirstBlockBody;
            block = 1 + static_cast<int>(later / kLaterBlockPicture);
            inBlock = later % kLaterBlockPicture;
            blockSize = kLaterBlockPicture;
            bodyOffset = kPayloadMarkerSize;
        }
        if (block >= picture.blockCount || block >= kMaxBlocks)
            return false;
        const std::int64_t run = std::min(count, blockSize - inBlock);
        if (!readFully(fd, picture.blockPositions[block] + bodyOffset + inBlock, out,
                       static_cast<std::size_t>(run)))
            return false;
        out += run;
        first += run;
        count -= run;
    }
    return true;
}

std::uint32_t pictureSize(const FrameRecord& record)
{
    return static_cast<std::uint32_t>(record.dataSize);
}

// ---- The temporary WAV file the sound player reads: a 44-byte header, then
// unsigned 8-bit mono samples. Writing stops for good at the first failed
// write or when more data would no longer fit the header's sizes.
class SoundFileWriter {
public:
    // Keeps "data size + 36" within a signed 32-bit RIFF size.
    static constexpr std::int64_t kMaxSoundBytes = std::numeric_limits<std::int32_t>::max() - 36;

    // A fresh "obv" file in the system's temporary folder with a header of
    // zero sizes, its name in `path`; null when it cannot be made.
    static std::unique_ptr<SoundFileWriter> create(QString& path)
    {
        const QString folder = QDir::tempPath(); // empty when the folder does not exist
        if (folder.isEmpty())
            return nullptr;
        QByteArray pattern = QFile::encodeName(folder + QStringLiteral("/obvXXXXXX"));
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0)
            return nullptr;
        std::unique_ptr<SoundFileWriter> writer(new SoundFileWriter(fd));
        const auto header = wavHeader(0, 0);
        if (writeUpTo(fd, header.data(), header.size()) != header.size()) {
            ::unlink(pattern.constData());
            return nullptr;
        }
        path = QFile::decodeName(pattern);
        return writer;
    }

    SoundFileWriter(const SoundFileWriter&) = delete;
    SoundFileWriter& operator=(const SoundFileWriter&) = delete;
    ~SoundFileWriter() { ::close(fd_); }

    void write(const std::uint8_t* data, std::size_t count)
    {
        const std::size_t allowed = admit(count);
        const std::size_t done = writeUpTo(fd_, data, allowed);
        written_ += static_cast<std::int64_t>(done);
        if (done > 0)
            lastSample_ = data[done - 1];
        if (done < allowed)
            stopped_ = true; // a full disk: the header will state what made it there
    }

    void fill(std::uint8_t value, std::int64_t count)
    {
        std::uint8_t chunk[kSoundChunk];
        std::memset(chunk, value, sizeof chunk);
        while (count > 0 && !stopped_) {
            const auto piece = static_cast<std::size_t>(std::min<std::int64_t>(count, kSoundChunk));
            write(chunk, piece);
            count -= static_cast<std::int64_t>(piece);
        }
    }

    // The last sample that reached the file (silence before any).
    std::uint8_t lastSample() const { return lastSample_; }

    // Rewrites the header with the sizes of what was written. Should that
    // fail, the sizes stay 0 and the player finds no sound.
    void finish()
    {
        const auto dataBytes = static_cast<std::uint32_t>(written_);
        const auto header = wavHeader(dataBytes + 36, dataBytes);
        if (::lseek(fd_, 0, SEEK_SET) == 0)
            writeUpTo(fd_, header.data(), header.size());
    }

private:
    explicit SoundFileWriter(int fd) : fd_(fd) {}

    std::size_t admit(std::size_t count)
    {
        if (stopped_)
            return 0;
        const std::int64_t room = kMaxSoundBytes - written_;
        if (static_cast<std::int64_t>(count) >= room) {
            stopped_ = true;
            return static_cast<std::size_t>(room);
        }
        return count;
    }

    static std::array<std::uint8_t, kWavHeaderSize> wavHeader(std::uint32_t riffBytes, std::uint32_t dataBytes)
    {
        std::array<std::uint8_t, kWavHeaderSize> h{};
        const auto le32 = [&h](int at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i)
                h[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        };
        const auto le16 = [&h](int at, std::uint16_t v) {
            h[at] = static_cast<std::uint8_t>(v);
            h[at + 1] = static_cast<std::uint8_t>(v >> 8);
        };
        std::memcpy(h.data(), "RIFF", 4);
        le32(4, riffBytes);
        std::memcpy(h.data() + 8, "WAVEfmt ", 8);
        le32(16, 16);
        le16(20, 1); // PCM
        le16(22, 1); // mono
        le32(24, kSoundRate);
        le32(28, kSoundRate); // bytes per second
        le16(32, 1);          // block alignment
        le16(34, 8);          // bits per sample
        std::memcpy(h.data() + 36, "data", 4);
        le32(40, dataBytes);
        return h;
    }

    int fd_;
    std::int64_t written_ = 0;
    bool stopped_ = false;
    std::uint8_t lastSample_ = kSilence;
};

// The 64 bytes of a record header and the 16 body bytes after it, read at
// once.
struct RecordHead {
    std::uint8_t bytes[kRecordHeaderSize + kPayloadMarkerSize];
    const std::uint8_t* raw() const { return bytes; }
    const std::uint8_t* peek() const { return bytes + kRecordHeaderSize; }

    std::uint32_t length() const { return readU32(raw() + Header::Length); }
    std::uint32_t counter() const { return readU32(raw() + Header::Counter); }
    std::uint32_t dataSize() const { return readU32(raw() + Header::DataSize); }
    std::uint8_t type() const { return raw()[Header::Type]; }
    int block() const { return raw()[Header::Block]; }
    std::uint32_t recordingId() const { return readU32(raw() + Header::RecordingId); }
    bool peekHasSignature() const { return std::equal(kSignature.begin(), kSignature.end(), peek() + 2); }
    // A length below the header's own size cannot hold a body.
    bool lengthHoldsHeader() const { return length() >= kRecordHeaderSize && static_cast<std::int32_t>(length()) > 0; }
    // Where the reader goes when it skips the body: never backwards.
    std::int64_t bodyEnd(std::int64_t bodyStart) const
    {
        return length() > kRecordHeaderSize ? bodyStart + length() - kRecordHeaderSize : bodyStart;
    }
};

void fillPictureFields(FrameRecord& r, const std::uint8_t* raw)
{
    const auto g = [raw](int at) { return static_cast<std::int16_t>(readU16(raw + at)) * kGPerUnit; };
    r.eventMark = raw[Header::EventMark];
    r.kindDigit = raw[Header::KindDigit];
    r.gX = g(Header::GX);
    r.gY = g(Header::GY);
    r.gZ = g(Header::GZ);
    r.gMagnitude = std::min(std::sqrt(r.gX * r.gX + r.gY * r.gY + r.gZ * r.gZ), kMaxGMagnitude);
    r.speed = static_cast<std::int32_t>(std::min<std::int64_t>(decodeBcd(raw + Header::Speed, 2), kMaxSpeed));
    r.pictureNumber = static_cast<std::int32_t>(decodeBcd(raw + Header::NumberA, 2));
    r.numberA = static_cast<std::int32_t>(decodeBcd(raw + Header::NumberA, 4));
    r.numberB = static_cast<std::int32_t>(decodeBcd(raw + Header::NumberB, 4));
}

// Records longer than this are not read back as pictures.
constexpr std::int32_t kMaxRecordLength = 1'048'576;

[[noreturn]] void throwCannotRead()
{
    throw VideoArchiveException(resourceText(TextId::CannotReadData));
}

} // namespace

// Indexes one data file into its archive: the record loop, then the sound
// file and the frame table.
class VideoArchive::Reader {
public:
    Reader(VideoArchive& archive, ILoadingProgress& progress, std::int64_t fileSize, SoundFileWriter* sound)
        : archive_(archive), progress_(progress), fd_(archive.dataFile_), fileSize_(fileSize), sound_(sound)
    {
    }

    void readFileHeader()
    {
        std::uint8_t h[kFileHeaderReadSize];
        if (!readFully(fd_, 0, h, sizeof h))
            throwCannotRead();
        archive_.startTime_ = bcdDateTime(h + FileHeader::DateTime).value_or(0);
        archive_.startCounter_ = readU32(h + FileHeader::StartCounter);
        archive_.recordingId_ = readU32(h + FileHeader::RecordingId);
        lastValidTime_ = archive_.startTime_;
    }

    void readRecords()
    {
        std::int64_t position = kFileHeaderSize;
        while (sounds_.size() < kMaxSoundRecords) {
            reportProgress(position);
            progress_.pumpEvents();
            RecordHead head;
            if (!readFully(fd_, position, head.bytes, sizeof head.bytes))
                break;
            position += kRecordHeaderSize;
            const std::optional<std::int64_t> next = nextRecord(head, position);
            if (!next)
                break;
            position = *next;
            if (pictures_.size() >= kMaxPictures)
                break;
        }
        dropIncompletePicture();
    }

    void complete()
    {
        progress_.showLoadingProgress(90);
        const double tMin = earliestPictureCounter();
        if (sound_) {
            writeSound(tMin);
            sound_->finish();
        }
        if (pictures_.empty() && sounds_.empty())
            throwCannotRead();
        double offset = 0.0;
        if (!sounds_.empty())
            offset = std::max(0.0, tMin - static_cast<double>(sounds_.front()->counter + kSoundLeadMs));
        placePictures(tMin, offset);
        fillGaps();
        setFrameTimes();
        progress_.showLoadingProgress(100);
    }

private:
    // Handles the record whose header was just read (the position is right
    // after it) and gives the position of the next one, or nothing to stop.
    std::optional<std::int64_t> nextRecord(const RecordHead& head, std::int64_t position)
    {
        if (!head.peekHasSignature() && head.type() != kTypeSound)
            return searchSignature(position);
        if (head.recordingId() != archive_.recordingId_) {
            dropIncompletePicture();
            return std::nullopt;
        }
        if (head.block() != expectedBlock_) {
            expectedBlock_ = 1;
            dropIncompletePicture();
            return head.bodyEnd(position);
        }
        if (head.block() >= 2 && head.type() == kTypeVideo)
            return continuePicture(head, position);
        return startRecord(head, position);
    }

    // A later block of the last picture.
    std::optional<std::int64_t> continuePicture(const RecordHead& head, std::int64_t position)
    {
        const std::int64_t bodyEnd = head.bodyEnd(position);
        if (pictures_.empty() || pictures_.back()->complete)
            return bodyEnd;
        FrameRecord& picture = *pictures_.back();
        if (picture.blockCount >= kMaxBlocks) {
            pictures_.pop_back();
            expectedBlock_ = 1;
            return bodyEnd;
        }
        picture.blockPositions[picture.blockCount++] = position;
        const std::int64_t blocks = picture.blockCount;
        const std::int64_t size = pictureSize(picture);
        if (size > blocks * kLaterBlockPicture + kPayloadMarkerSize) {
            ++expectedBlock_;
            return bodyEnd;
        }
        // The picture ends in this block, `end` bytes after its header.
        const std::int64_t end = size - blocks * kLaterBlockPicture + kLaterBlockPicture;
        if (end < kPayloadMarkerSize + 1 || end > static_cast<std::int64_t>(head.length()) - kRecordHeaderSize) {
            pictures_.pop_back(); // the expected block stays: the next first block is out of sequence
            return bodyEnd;
        }
        std::uint8_t tail[5];
        if (!readPictureBytes(fd_, picture, size - 5, 5, tail))
            return std::nullopt;
        if (endsWithEndOfImage(tail)) {
            picture.complete = true;
            expectedBlock_ = 1;
        } else {
            pictures_.pop_back();
        }
        return bodyEnd;
    }

    static bool endsWithEndOfImage(const std::uint8_t* tail)
    {
        for (int i = 0; i < 4; ++i)
            if (tail[i] == 0xFF && tail[i + 1] == 0xD9)
                return true;
        return false;
    }

    // A record that starts something: a picture's first block, a sound
    // record, or a record of another type (dropped where it stands).
    std::optional<std::int64_t> startRecord(const RecordHead& head, std::int64_t position)
    {
        auto record = std::make_unique<FrameRecord>();
        record->blockPositions[0] = position;
        record->blockCount = 1;
        record->recordLength = static_cast<std::int32_t>(head.length());
        record->counter = unwrapCounter(head.counter(), archive_.startCounter_);
        record->dataSize = static_cast<std::int32_t>(head.dataSize());
        record->recordType = head.type();
        record->blockNumber = head.block();
        record->recordingId = head.recordingId();
        record->complete = static_cast<std::int64_t>(head.length()) - kRecordHeaderSize >=
                           static_cast<std::int64_t>(head.dataSize());
        if (!record->complete)
            ++expectedBlock_;

        if (head.type() == kTypeVideo)
            return startPicture(head, position, std::move(record));
        if (head.type() == kTypeSound) {
            if (!sound_)
                return head.bodyEnd(position);
            if (!head.lengthHoldsHeader())
                return position;
            sounds_.push_back(std::move(record));
            return position + head.length() - kRecordHeaderSize;
        }
        return position;
    }

    std::optional<std::int64_t> startPicture(const RecordHead& head, std::int64_t position,
                                             std::unique_ptr<FrameRecord> picture)
    {
        if (!pictureSeen_) {
            const Version version = dataVersion();
            if (head.peek()[0] != version.major || head.peek()[1] != version.minor)
                throwCannotRead();
            pictureSeen_ = true;
        }
        fillPictureFields(*picture, head.raw());
        if (const auto time = pictureDates_.convert(head.raw() + Header::DateTime))
            lastValidTime_ = *time;
        picture->time = lastValidTime_;
        if (head.dataSize() > kMaxPictureSize) { // more blocks than a record can list
            expectedBlock_ = 1;
            return head.bodyEnd(position);
        }
        if (!head.lengthHoldsHeader()) {
            expectedBlock_ = 1;
            return position;
        }
        pictures_.push_back(std::move(picture));
        return position + head.length() - kRecordHeaderSize;
    }

    void dropIncompletePicture()
    {
        if (!pictures_.empty() && !pictures_.back()->complete)
            pictures_.pop_back();
    }

    // The record whose first body bytes hold the next signature, or nothing.
    std::optional<std::int64_t> searchSignature(std::int64_t from)
    {
        searchWindow_.resize(kSignatureSearchWindow);
        const std::size_t got = readUpTo(fd_, from, searchWindow_.data(), searchWindow_.size());
        if (got < kSignature.size())
            return std::nullopt;
        const auto end = searchWindow_.begin() + static_cast<std::ptrdiff_t>(got);
        const auto hit = std::search(searchWindow_.begin(), end,
                                     std::boyer_moore_horspool_searcher(kSignature.begin(), kSignature.end()));
        if (hit == end)
            return std::nullopt;
        return from + (hit - searchWindow_.begin()) - kRecordHeaderSize - 2;
    }

    void reportProgress(std::int64_t position)
    {
        const std::int64_t eighth = fileSize_ / 8;
        if (eighth > 0 && position / eighth != progressStep_) {
            ++progressStep_;
            progress_.showLoadingProgress(static_cast<int>(10 * progressStep_ + 10));
        }
    }

    double earliestPictureCounter() const
    {
        double tMin = std::numeric_limits<double>::max();
        for (const auto& p : pictures_)
            tMin = std::min(tMin, static_cast<double>(p->counter));
        return tMin;
    }

    // Milliseconds as samples, bounded by the span of the frame table: no
    // silence or gap beyond what the grid can show is written.
    static std::int64_t samplesFor(std::int64_t milliseconds)
    {
        const auto gridSpanMs = static_cast<std::int64_t>(kMaxSlots * kSlotPeriodMs);
        return static_cast<std::int64_t>(static_cast<double>(std::min(milliseconds, gridSpanMs) * kSoundRate) /
                                         1000.0);
    }

    void writeSound(double tMin)
    {
        std::stable_sort(sounds_.begin(), sounds_.end(),
                         [](const auto& a, const auto& b) { return a->counter < b->counter; });
        if (sounds_.empty())
            return;
        if (!pictures_.empty()) {
            const auto lead = static_cast<std::int64_t>(static_cast<double>(sounds_.front()->counter) - tMin -
                                                        kSoundLeadMs);
            if (lead > 0)
                sound_->fill(kSilence, samplesFor(lead));
        }
        for (std::size_t i = 0; i + 1 < sounds_.size(); ++i) {
            const std::int64_t gap = samplesFor(sounds_[i + 1]->counter - sounds_[i]->counter);
            if (gap <= 16)
                continue;
            const std::int64_t written = writeSoundBody(*sounds_[i]);
            // The recorder's gaps are filled with the last sample only down to
            // a remainder of 2048 samples.
            std::int64_t rest = gap - written;
            while (rest > 2048) {
                const std::int64_t piece = std::min<std::int64_t>(rest, kSoundChunk);
                sound_->fill(sound_->lastSample(), piece);
                rest -= piece;
            }
        }
        writeSoundBody(*sounds_.back());
    }

    // The first 4096 samples of a record; what cannot be read is silence.
    std::int64_t writeSoundBody(const FrameRecord& record)
    {
        const auto count = static_cast<std::size_t>(std::min<std::uint32_t>(pictureSize(record), kSoundChunk));
        std::uint8_t samples[kSoundChunk];
        const std::size_t got = readUpTo(fd_, record.blockPositions[0], samples, count);
        std::memset(samples + got, kSilence, count - got);
        if (count > 0)
            sound_->write(samples, count);
        return static_cast<std::int64_t>(count);
    }

    void placePictures(double tMin, double offset)
    {
        auto& table = archive_.slots_;
        placed_.assign(kMaxSlots, false);
        for (auto& picture : pictures_) {
            const double position = (static_cast<double>(picture->counter) - tMin + offset) / kSlotPeriodMs;
            if (position <= -1.0 || position >= kMaxSlots - 1)
                continue; // truncated toward zero, outside slots 0..29998
            const int s = static_cast<int>(position);
            if (!table[s]) {
                table[s] = std::move(picture);
                placed_[s] = true;
            } else if (!table[s + 1]) {
                table[s + 1] = std::move(picture);
                placed_[s + 1] = true;
            } else if (picture->eventMark == kEventMark) {
                table[s]->eventMark = kEventMark;
            }
            archive_.slotCount_ = std::max(archive_.slotCount_, s + 1);
        }
    }

    // Empty slots take a copy of the nearest placed picture before them, or,
    // before the first picture, after them; copies carry no event mark.
    void fillGaps()
    {
        auto& table = archive_.slots_;
        const int count = archive_.slotCount_;
        const auto copyOf = [&table](int source) {
            auto copy = std::make_unique<FrameRecord>(*table[source]);
            copy->eventMark = 0;
            return copy;
        };
        int source = -1;
        for (int i = 0; i < count; ++i) {
            if (placed_[i])
                source = i;
            else if (source >= 0)
                table[i] = copyOf(source);
        }
        source = -1;
        for (int i = count - 1; i >= 0; --i) {
            if (placed_[i])
                source = i;
            else if (!table[i] && source >= 0)
                table[i] = copyOf(source);
        }
    }

    void setFrameTimes()
    {
        const int count = archive_.slotCount_;
        for (int i = 0; i < count; ++i)
            if (archive_.slots_[i] && archive_.slots_[i]->time != 0) {
                archive_.firstFrameTime_ = archive_.slots_[i]->time;
                break;
            }
        for (int i = count - 1; i >= 0; --i)
            if (archive_.slots_[i] && archive_.slots_[i]->time != 0) {
                archive_.lastFrameTime_ = archive_.slots_[i]->time;
                break;
            }
    }

    VideoArchive& archive_;
    ILoadingProgress& progress_;
    const int fd_;
    const std::int64_t fileSize_;
    SoundFileWriter* const sound_;

    int expectedBlock_ = 1;
    bool pictureSeen_ = false;
    std::int64_t progressStep_ = 0;
    std::int64_t lastValidTime_ = 0;
    BcdDateTimeCache pictureDates_;
    std::vector<std::unique_ptr<FrameRecord>> pictures_;
    std::vector<std::unique_ptr<FrameRecord>> sounds_;
    std::vector<std::uint8_t> searchWindow_;
    std::vector<bool> placed_;
};

VideoArchive::VideoArchive() = default;

VideoArchive::~VideoArchive()
{
    close();
}

void VideoArchive::open(const QString& path, ILoadingProgress& progress)
{
    close();
    try {
        std::int64_t fileSize = 0;
        dataFile_ = openRegularFile(path, fileSize);
        if (dataFile_ < 0)
            throwCannotRead();
        std::unique_ptr<SoundFileWriter> sound = SoundFileWriter::create(soundFilePath_);
        if (!sound)
            progress.showWarning(resourceText(TextId::SoundRestoreFailed));
        Reader reader(*this, progress, fileSize, sound.get());
        reader.readFileHeader();
        reader.readRecords();
        reader.complete();
    } catch (...) {
        close(); // the sound file was closed on the way out; close deletes it
        throw;
    }
}

void VideoArchive::close()
{
    if (dataFile_ >= 0) {
        ::close(dataFile_);
        dataFile_ = -1;
    }
    for (auto& slot : slots_)
        slot.reset();
    slotCount_ = 0;
    startTime_ = 0;
    startCounter_ = 0;
    recordingId_ = 0;
    firstFrameTime_ = 0;
    lastFrameTime_ = 0;
    if (!soundFilePath_.isEmpty()) {
        ::unlink(QFile::encodeName(soundFilePath_).constData());
        soundFilePath_.clear();
    }
}

const FrameRecord* VideoArchive::slotAt(int index) const
{
    if (index < 0 || index >= slotCount_)
        return nullptr;
    return slots_[index].get();
}

std::unique_ptr<Image> VideoArchive::readFrame(int index) const
{
    const FrameRecord* picture = isOpen() ? slotAt(index) : nullptr;
    if (!picture || picture->recordLength <= 16 || picture->recordLength > kMaxRecordLength)
        return nullptr;
    const std::uint32_t size = pictureSize(*picture);
    if (size < kPayloadMarkerSize || size > kMaxPictureSize)
        return nullptr;
    std::vector<std::uint8_t> data(size);
    if (!readPictureBytes(dataFile_, *picture, 0, size, data.data()))
        return nullptr;
    const auto marker = payloadMarker();
    if (!std::equal(marker.begin(), marker.end(), data.begin()))
        return nullptr;
    std::copy(kJpegStartBytes.begin(), kJpegStartBytes.end(), data.begin());
    return decodeJpeg(data.data(), data.size());
}
