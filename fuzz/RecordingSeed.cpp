// Writes a small clean recording to seed the fuzzer's corpus: pictures of one
// and several blocks, sound records and an event mark.

#include "imaging/ImageCodecs.h"
#include "recording/RecordingWriter.h"

#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: fuzz-recording-seed OUT.DAT\n", stderr);
        return 2;
    }
    RecordingWriter writer({});
    std::uint32_t noise = 1;
    for (int i = 0; i < 8; ++i) {
        const int side = i % 4 == 0 ? 80 : 16;
        auto image = Image::create(side, side);
        for (int b = 0; b < image->byteSize(); ++b)
            image->pixels()[b] = static_cast<std::uint8_t>((noise = noise * 1664525u + 1013904223u) >> 24);
        RecordingWriter::PictureFields fields;
        fields.counter = static_cast<std::uint32_t>(2000 + 36 * i);
        fields.event = i == 3;
        writer.addPicture(encodeJpeg(*image, 85), fields);
        if (i % 3 == 0) {
            const std::vector<std::uint8_t> sound(2048, static_cast<std::uint8_t>(0x70 + i));
            writer.addSound(fields.counter, sound);
        }
    }
    writer.save(QFile::decodeName(argv[1]));
    return 0;
}
