// kvr-tool: the recording inspector. It reads recordings exactly as the
// viewer does and prints what it found, for checking the reader from outside
// and for handing telemetry on.

#include "JsonWriter.h"

#include "errors/Exception.h"
#include "recording/Catalogue.h"
#include "recording/ILoadingProgress.h"
#include "recording/VideoArchive.h"
#include "recording/VideoInfo.h"
#include "tools/demo/DemoRecording.h"

#include <QDateTime>
#include <QFile>
#include <QImage>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoPicture = 3;

QString argument(const char* text)
{
    return QFile::decodeName(text);
}

void printLine(FILE* stream, const std::string& text)
{
    std::fputs(text.c_str(), stream);
    std::fputc('\n', stream);
}

void openArchive(VideoArchive& archive, const QString& path)
{
    SilentLoadingProgress progress;
    archive.open(path, progress);
}

std::int64_t soundBytes(const VideoArchive& archive)
{
    QFile wav(archive.soundFilePath());
    if (archive.soundFilePath().isEmpty() || !wav.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = wav.read(44);
    if (header.size() < 44)
        return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(header.constData()) + 40;
    return static_cast<std::int64_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

void writeSlot(JsonWriter& json, const FrameRecord& r)
{
    json.beginObject()
        .field("kindDigit", std::int64_t{r.kindDigit})
        .field("pictureNumber", std::int64_t{r.pictureNumber})
        .field("time", std::int64_t{r.time})
        .field("gX", r.gX)
        .field("gY", r.gY)
        .field("gZ", r.gZ)
        .field("gMagnitude", r.gMagnitude)
        .field("speed", std::int64_t{r.speed})
        .field("numberA", std::int64_t{r.numberA})
        .field("numberB", std::int64_t{r.numberB})
        .field("eventMark", std::int64_t{r.eventMark})
        .field("recordLength", std::int64_t{r.recordLength})
        .field("dataSize", std::int64_t{r.dataSize})
        .field("counter", std::int64_t{r.counter})
        .field("blockCount", std::int64_t{r.blockCount});
    json.beginArray("blockPositions");
    for (int b = 0; b < r.blockCount && b < static_cast<int>(r.blockPositions.size()); ++b)
        json.value(std::int64_t{r.blockPositions[static_cast<std::size_t>(b)]});
    json.endArray().endObject();
}

int info(const QString& path)
{
    VideoArchive archive;
    openArchive(archive, path);
    VideoInfo07 videoInfo(archive);
    videoInfo.buildEventFrames();
    std::vector<std::int32_t> events;
    videoInfo.copyEventFrames(events);

    JsonWriter json;
    json.beginObject()
        .field("startTime", std::int64_t{archive.startTime()})
        .field("startCounter", std::int64_t{archive.startCounter()})
        .field("recordingId", std::int64_t{archive.recordingId()})
        .field("slotCount", std::int64_t{archive.slotCount()})
        .field("firstFrameTime", std::int64_t{archive.firstFrameTime()})
        .field("lastFrameTime", std::int64_t{archive.lastFrameTime()})
        .field("soundBytes", soundBytes(archive));
    json.beginArray("eventFrames");
    for (const std::int32_t e : events)
        json.value(std::int64_t{e});
    json.endArray();
    json.beginArray("slots");
    for (int i = 0; i < archive.slotCount(); ++i)
        writeSlot(json, *archive.slotAt(i));
    json.endArray().endObject();
    printLine(stdout, json.text());
    return kExitOk;
}

int wav(const QString& path, const QString& out)
{
    VideoArchive archive;
    openArchive(archive, path);
    QFile::remove(out);
    if (archive.soundFilePath().isEmpty() || !QFile::copy(archive.soundFilePath(), out)) {
        printLine(stderr, "cannot write " + out.toStdString());
        return kExitFailure;
    }
    return kExitOk;
}

int frame(const QString& path, const QString& indexText, const QString& out)
{
    bool ok = false;
    const int index = indexText.toInt(&ok);
    if (!ok)
        return kExitUsage;
    VideoArchive archive;
    openArchive(archive, path);
    const std::unique_ptr<Image> image = archive.readFrame(index);
    if (!image)
        return kExitNoPicture;
    QImage picture(image->width(), image->height(), QImage::Format_RGB32);
    for (int y = 0; y < image->height(); ++y)
        std::memcpy(picture.scanLine(y), image->memoryRow(image->height() - 1 - y),
                    static_cast<std::size_t>(image->stride()));
    if (!picture.save(out, "PNG")) {
        printLine(stderr, "cannot write " + out.toStdString());
        return kExitFailure;
    }
    return kExitOk;
}

int scan(const QString& path)
{
    Catalogue catalogue;
    const ScanResult result = scanFolder(path, catalogue);
    JsonWriter json;
    json.beginObject().field("count", std::int64_t{result.count}).field("startIndex", std::int64_t{result.startIndex});
    json.beginArray("entries");
    for (const CatalogueEntry& e : catalogue)
        json.beginObject().field("path", e.path).field("time", std::int64_t{e.time}).endObject();
    json.endArray().endObject();
    printLine(stdout, json.text());
    return kExitOk;
}

std::string localIsoTime(std::int64_t seconds)
{
    if (seconds == 0)
        return {};
    return QDateTime::fromSecsSinceEpoch(seconds).toString(Qt::ISODate).toStdString();
}

int telemetry(const QString& path)
{
    VideoArchive archive;
    openArchive(archive, path);
    printLine(stdout, "frame,time,gX,gY,gZ,G,speed,event");
    for (int i = 0; i < archive.slotCount(); ++i) {
        const FrameRecord& r = *archive.slotAt(i);
        char row[256];
        std::snprintf(row, sizeof row, "%d,%s,%.4f,%.4f,%.4f,%.4f,%d,%d", i, localIsoTime(r.time).c_str(), r.gX,
                      r.gY, r.gZ, r.gMagnitude, r.speed, r.eventMark == 0x20 ? 1 : 0);
        printLine(stdout, row);
    }
    return kExitOk;
}

int demo(const QString& folder)
{
    for (const QString& path : writeDemoCard(folder))
        printLine(stdout, path.toStdString());
    return kExitOk;
}

int usage()
{
    std::fputs("usage: kvr-tool info FILE\n"
               "       kvr-tool wav FILE OUT.wav\n"
               "       kvr-tool frame FILE INDEX OUT.png\n"
               "       kvr-tool scan FILE\n"
               "       kvr-tool telemetry FILE\n"
               "       kvr-tool demo DIR\n",
               stderr);
    return kExitUsage;
}

int run(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const std::string command = argv[1];
    const QString first = argument(argv[2]);
    if (command == "info" && argc == 3)
        return info(first);
    if (command == "wav" && argc == 4)
        return wav(first, argument(argv[3]));
    if (command == "frame" && argc == 5)
        return frame(first, argument(argv[3]), argument(argv[4]));
    if (command == "scan" && argc == 3)
        return scan(first);
    if (command == "telemetry" && argc == 3)
        return telemetry(first);
    if (command == "demo" && argc == 3)
        return demo(first);
    return usage();
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const Exception& e) {
        printLine(stderr, e.message().toStdString());
    } catch (const std::exception& e) {
        printLine(stderr, e.what());
    }
    return kExitFailure;
}
