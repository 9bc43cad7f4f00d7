// Speed of reading recordings, each against its baseline:
//   BM_OpenRecording  vs BM_SequentialRead: indexing reads only record headers,
//                        so it should cost less than reading the file once;
//   BM_ReadFrame      vs BM_JpegDecode: restoring a frame should add little to
//                        decoding its JPEG.

#include "imaging/ImageCodecs.h"
#include "recording/ILoadingProgress.h"
#include "recording/RecordingFormat.h"
#include "BenchRecording.h"
#include "recording/VideoArchive.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <cstdio>
#include <fcntl.h>
#include <jpeglib.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFrame = 1000;

// The frame's JPEG as the recorder stored it, restored by hand: the baseline
// input for the decoder alone.
std::vector<std::uint8_t> storedJpeg(const VideoArchive& archive, int index)
{
    const FrameRecord& r = *archive.slotAt(index);
    const auto size = static_cast<std::uint32_t>(r.dataSize);
    std::vector<std::uint8_t> bytes(size);
    const int fd = ::open(QFile::encodeName(benchRecording()).constData(), O_RDONLY);
    std::size_t done = 0;
    for (int b = 0; b < r.blockCount; ++b) {
        const std::size_t n = std::min<std::size_t>(size - done, b == 0 ? 8128 : 8112);
        const off_t at = r.blockPositions[static_cast<std::size_t>(b)] + (b == 0 ? 0 : 16);
        if (::pread(fd, bytes.data() + done, n, at) != static_cast<ssize_t>(n))
            std::abort();
        done += n;
    }
    ::close(fd);
    std::copy(RecordingFormat::kJpegStartBytes.begin(), RecordingFormat::kJpegStartBytes.end(), bytes.begin());
    return bytes;
}

void BM_OpenRecording(benchmark::State& state)
{
    SilentLoadingProgress progress;
    VideoArchive archive;
    const QString& path = benchRecording();
    for (auto _ : state) {
        archive.open(path, progress);
        benchmark::DoNotOptimize(archive.slotCount());
    }
    state.counters["slots"] = archive.slotCount();
}
BENCHMARK(BM_OpenRecording)->Unit(benchmark::kMillisecond);

void BM_SequentialRead(benchmark::State& state)
{
    std::vector<char> piece(1 << 20);
    std::int64_t total = 0;
    const QByteArray path = QFile::encodeName(benchRecording());
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_RDONLY);
        total = 0;
        for (ssize_t n; (n = ::read(fd, piece.data(), piece.size())) > 0;)
            total += n;
        ::close(fd);
        benchmark::DoNotOptimize(total);
    }
    state.counters["MiB"] = static_cast<double>(total) / (1 << 20);
}
BENCHMARK(BM_SequentialRead)->Unit(benchmark::kMillisecond);

void BM_ReadFrame(benchmark::State& state)
{
    SilentLoadingProgress progress;
    VideoArchive archive;
    archive.open(benchRecording(), progress);
    for (auto _ : state) {
        auto image = archive.readFrame(kFrame);
        if (!image)
            state.SkipWithError("no picture");
        benchmark::DoNotOptimize(image.get());
    }
}
BENCHMARK(BM_ReadFrame)->Unit(benchmark::kMicrosecond);

// libjpeg-turbo alone, straight into a BGRX buffer.
void BM_JpegDecode(benchmark::State& state)
{
    SilentLoadingProgress progress;
    VideoArchive archive;
    archive.open(benchRecording(), progress);
    const std::vector<std::uint8_t> jpeg = storedJpeg(archive, kFrame);
    std::vector<std::uint8_t> pixels;
    for (auto _ : state) {
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr err;
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
        jpeg_read_header(&cinfo, TRUE);
        cinfo.out_color_space = JCS_EXT_BGRX;
        jpeg_start_decompress(&cinfo);
        const std::size_t stride = static_cast<std::size_t>(cinfo.output_width) * 4;
        pixels.resize(stride * cinfo.output_height); // allocated per picture, as a decoder must
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = pixels.data() + stride * (cinfo.output_height - 1 - cinfo.output_scanline);
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(pixels.data());
        pixels = {};
    }
}
BENCHMARK(BM_JpegDecode)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
