#include "ArchiveTestBase.h"

#include "errors/Exception.h"
#include "recording/RecordingFormat.h"
#include "text/TextTable.h"

#include <csignal>
#include <sys/resource.h>

namespace {

using namespace RecordingFormat;
using Bytes = std::vector<std::uint8_t>;

class VideoArchiveSoundTest : public ArchiveTestBase {};

Bytes ramp(std::size_t count, std::uint8_t last)
{
    Bytes samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = static_cast<std::uint8_t>(last - (count - 1 - i));
    return samples;
}

std::uint32_t readU32LE(const Bytes& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST_F(VideoArchiveSoundTest, WavHeaderDescribesEightBitMonoAtTheRecorderRate)
{
    RecordingFileBuilder file;
    file.sound(1000, Bytes(10, 0x90));
    open(file.bytes);
    EXPECT_TRUE(archive_.soundFilePath().startsWith(soundDir_.path() + "/obv"));
    const Bytes expected = {'R', 'I', 'F', 'F', 46, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                            16,  0,   0,   0,   1,  0, 1, 0, 0x7F, 0x33, 0, 0, 0x7F, 0x33, 0, 0,
                            1,   0,   8,   0,   'd', 'a', 't', 'a', 10, 0, 0, 0};
    const Bytes wav = wavFile();
    ASSERT_EQ(wav.size(), 54u);
    EXPECT_EQ(Bytes(wav.begin(), wav.begin() + 44), expected);
    EXPECT_EQ(soundData(), Bytes(10, 0x90));
    EXPECT_EQ(archive_.slotCount(), 0); // sound alone is a recording
}

TEST_F(VideoArchiveSoundTest, SoundStartingLaterIsLedBySilence)
{
    RecordingFileBuilder file;
    file.picture(0, 1).sound(2038, Bytes(100, 0x11)); // 1038 ms after the first picture
    open(file.bytes);
    EXPECT_EQ(soundData(), concat({Bytes(13183, 0x80), Bytes(100, 0x11)}));
    EXPECT_EQ(slotTags(), (std::vector<int>{1}));
}

TEST_F(VideoArchiveSoundTest, PicturesStartingLaterMoveOnTheGrid)
{
    RecordingFileBuilder file;
    file.sound(1000, Bytes(100, 0x11));
    RecordingWriter::PictureFields fields;
    fields.counter = 1138; // 100 ms after the sound's lead
    fields.numberA = 1;
    file.picture(fields, fixture::fakeJpeg(100));
    fields.counter = 1138 + 36;
    fields.numberA = 2;
    file.picture(fields, fixture::fakeJpeg(100));
    open(file.bytes);
    EXPECT_EQ(slotTags(), (std::vector<int>{1, 1, 1, 2})); // slots 0 and 1 copy the first picture
    EXPECT_EQ(soundData(), Bytes(100, 0x11));
}

TEST_F(VideoArchiveSoundTest, GapsAreFilledWithTheLastSampleDownTo2048)
{
    struct Case {
        const char* name;
        std::uint32_t gapMs;
        std::size_t firstSize;
        Bytes expectedFill;
    };
    const Case cases[] = {
        {"100 ms after 1000 samples: 318 missing, nothing filled", 100, 1000, {}},
        {"1 s after 4096 samples: two fills, 895 left out", 1000, 4096, Bytes(8192, 0x33)},
        {"1 ms apart: the first record is left out", 1, 500, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingFileBuilder file;
        const Bytes first = ramp(c.firstSize, 0x33);
        file.sound(5000, first).sound(5000 + c.gapMs, Bytes(7, 0x44));
        open(file.bytes);
        const Bytes written = c.gapMs == 1 ? Bytes{} : first;
        EXPECT_EQ(soundData(), concat({written, c.expectedFill, Bytes(7, 0x44)}));
        archive_.close();
    }
}

TEST_F(VideoArchiveSoundTest, RecordsAreOrderedByCounterAndCutTo4096Samples)
{
    RecordingFileBuilder file;
    file.sound(1100, Bytes(5000, 0x22)).sound(1000, Bytes(200, 0x11)).sound(1200, Bytes(5000, 0x33));
    open(file.bytes);
    // 100 ms is 1318 samples: no fill after 200 or 4096 samples.
    EXPECT_EQ(soundData(), concat({Bytes(200, 0x11), Bytes(4096, 0x22), Bytes(4096, 0x33)}));
}

TEST_F(VideoArchiveSoundTest, UnreadableSoundBodyIsWrittenAsSilence)
{
    RecordingFileBuilder file;
    file.sound(1000, Bytes(4096, 0x22));
    file.bytes.resize(file.bytes.size() - 8192 + 64 + 100); // the file ends 100 samples in
    open(file.bytes);
    EXPECT_EQ(soundData(), concat({Bytes(100, 0x22), Bytes(3996, 0x80)}));
}

TEST_F(VideoArchiveSoundTest, SoundRecordTooShortForItsHeaderIsDropped)
{
    RecordingFileBuilder file;
    file.sound(1000, Bytes(100, 0x11));
    writeU32(file.record(0) + Header::Length, 40);
    // Its samples count as more than its body holds, so a further block is
    // expected and the next picture's first block is out of sequence.
    file.picture(0, 1).picture(1, 2).sound(1036 + 38, Bytes(10, 0x33));
    open(file.bytes);
    EXPECT_EQ(soundData(), Bytes(10, 0x33));
    EXPECT_EQ(slotTags(), (std::vector<int>{2}));
}

// Silence and gaps never exceed what the 30000-slot grid can show.
TEST_F(VideoArchiveSoundTest, HugeCounterGapsGiveABoundedSoundFile)
{
    const std::int64_t gridSamples = 1'071'428ll * 13183 / 1000; // 14,124,635
    {
        SCOPED_TRACE("gap between two records");
        RecordingFileBuilder file;
        file.sound(0, Bytes(4096, 0x33)).sound(4'000'000'000u, Bytes(7, 0x44));
        open(file.bytes);
        const Bytes data = soundData();
        const std::int64_t filled = (gridSamples - 4096) / 4096 * 4096;
        ASSERT_EQ(static_cast<std::int64_t>(data.size()), 4096 + filled + 7);
        EXPECT_EQ(data[4096 + filled - 1], 0x33);
        EXPECT_EQ(data.back(), 0x44);
        const Bytes wav = wavFile();
        EXPECT_EQ(readU32LE(wav, 40), data.size());
        EXPECT_EQ(readU32LE(wav, 4), data.size() + 36);
        archive_.close();
    }
    {
        SCOPED_TRACE("lead silence");
        RecordingFileBuilder file;
        RecordingWriter::PictureFields fields;
        fields.counter = 0;
        fields.numberA = 1;
        file.picture(fields, fixture::fakeJpeg(100)).sound(4'000'000'000u, Bytes(10, 0x44));
        open(file.bytes);
        const Bytes data = soundData();
        ASSERT_EQ(static_cast<std::int64_t>(data.size()), gridSamples + 10);
        EXPECT_EQ(data[gridSamples - 1], 0x80);
        EXPECT_EQ(slotTags(), (std::vector<int>{1}));
    }
}

// While it lives, writing past `bytes` into any file fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

TEST_F(VideoArchiveSoundTest, FullDiskEndsTheSoundAndTheHeaderSaysWhatIsThere)
{
    RecordingFileBuilder file;
    file.picture(0, 1).sound(2038, Bytes(100, 0x11)).picture(1, 2);
    fixture::writeFile(dataPath(), file.bytes);
    {
        const FileSizeLimit limit(10'000);
        archive_.open(dataPath(), progress_);
    }
    EXPECT_EQ(slotTags(), (std::vector<int>{1, 2}));
    const Bytes wav = wavFile();
    ASSERT_EQ(wav.size(), 10'000u);
    EXPECT_EQ(readU32LE(wav, 40), 10'000u - 44);
    EXPECT_EQ(readU32LE(wav, 4), 10'000u - 8);
}

TEST_F(VideoArchiveSoundTest, WithoutATemporaryFileTheRecordingOpensSilently)
{
    qputenv("TMPDIR", QFile::encodeName(files_.file("no-such-folder")));
    RecordingFileBuilder file;
    file.picture(0, 1).sound(1000, Bytes(10, 0x11)).picture(1, 2);
    open(file.bytes);
    EXPECT_EQ(progress_.warnings, QStringList{resourceText(TextId::SoundRestoreFailed)});
    EXPECT_TRUE(archive_.soundFilePath().isEmpty());
    EXPECT_EQ(slotTags(), (std::vector<int>{1, 2}));

    RecordingFileBuilder soundOnly;
    soundOnly.sound(1000, Bytes(10, 0x11));
    EXPECT_THROW(open(soundOnly.bytes), VideoArchiveException);
}

TEST_F(VideoArchiveSoundTest, TheSoundFileLivesUntilTheNextCloseOrOpen)
{
    RecordingFileBuilder file;
    file.picture(0, 1).sound(1000, Bytes(10, 0x11));
    open(file.bytes);
    const QString first = archive_.soundFilePath();
    ASSERT_TRUE(QFile::exists(first));
    open(file.bytes);
    const QString second = archive_.soundFilePath();
    EXPECT_FALSE(QFile::exists(first));
    EXPECT_TRUE(QFile::exists(second));
    archive_.close();
    EXPECT_FALSE(QFile::exists(second));
    EXPECT_TRUE(archive_.soundFilePath().isEmpty());
    {
        VideoArchive scoped;
        scoped.open(dataPath(), progress_);
        ASSERT_TRUE(QFile::exists(scoped.soundFilePath()));
    }
    EXPECT_TRUE(leftoverSoundFiles().isEmpty());
}

} // namespace
