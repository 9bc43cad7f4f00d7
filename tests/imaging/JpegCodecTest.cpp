#include "imaging/ImageCodecs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <string>

#include <jpeglib.h>

namespace {

// A picture with smooth colour ramps (JPEG keeps them well) whose top and
// bottom differ, so a flipped decode cannot pass for a right one.
std::unique_ptr<Image> rampPicture(int width, int height)
{
    auto image = Image::create(width, height);
    for (int row = 0; row < height; ++row) {
        const int pictureY = height - 1 - row; // 0 is the top of the picture
        std::uint8_t* pixel = image->memoryRow(row);
        for (int x = 0; x < width; ++x, pixel += 4) {
            pixel[0] = std::uint8_t(x * 255 / (width - 1));       // blue grows to the right
            pixel[1] = std::uint8_t(128);
            pixel[2] = std::uint8_t(pictureY * 255 / (height - 1)); // red grows downwards
            pixel[3] = 0x5A; // ignored by the encoder
        }
    }
    return image;
}

// Largest difference in bytes 0-2 over one memory row of two pictures.
int rowDifference(const Image& a, const Image& b, int row)
{
    int worst = 0;
    for (int i = 0; i < a.stride(); ++i)
        if (i % 4 != 3)
            worst = std::max(worst, std::abs(int(a.memoryRow(row)[i]) - int(b.memoryRow(row)[i])));
    return worst;
}

struct RawJpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

enum class Layout { Baseline, ProgressiveFullResolution };

// Compresses samples as they are, in any colour space libjpeg accepts,
// for pictures the program's own encoder does not make (grey, CMYK,
// progressive without chroma subsampling).
std::vector<std::uint8_t> compressSamples(const std::vector<std::uint8_t>& samples, int width, int height,
                                          int components, J_COLOR_SPACE space, Layout layout = Layout::Baseline)
{
    jpeg_compress_struct cinfo{};
    RawJpegErrors errors{};
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<RawJpegErrors*>(c->err)->jump, 1); };
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(output);
        ADD_FAILURE() << "libjpeg refused the test picture";
        return {};
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &output, &outputSize);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    if (layout == Layout::ProgressiveFullResolution) {
        jpeg_simple_progression(&cinfo);
        cinfo.comp_info[0].h_samp_factor = cinfo.comp_info[0].v_samp_factor = 1;
    }
    jpeg_start_compress(&cinfo, TRUE);
    for (int y = 0; y < height; ++y) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + std::size_t(y) * width * components);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<std::uint8_t> encoded(output, output + outputSize);
    std::free(output);
    return encoded;
}

// Writes new sides into the first baseline or progressive frame header.
std::vector<std::uint8_t> withFrameSize(std::vector<std::uint8_t> jpeg, int width, int height)
{
    for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = std::uint8_t(height >> 8);
            jpeg[i + 6] = std::uint8_t(height);
            jpeg[i + 7] = std::uint8_t(width >> 8);
            jpeg[i + 8] = std::uint8_t(width);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

std::unique_ptr<Image> decode(const std::vector<std::uint8_t>& bytes)
{
    return decodeJpeg(bytes.data(), bytes.size());
}

} // namespace

TEST(JpegCodec, RoundTripKeepsColoursAndOrientation)
{
    const auto original = rampPicture(64, 48);
    const auto decoded = decode(encodeJpeg(*original, 95));
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->width(), 64);
    ASSERT_EQ(decoded->height(), 48);
    for (int row = 0; row < 48; ++row)
        EXPECT_LE(rowDifference(*original, *decoded, row), 12) << "memory row " << row;
    for (int i = 3; i < decoded->byteSize(); i += 4)
        ASSERT_EQ(decoded->pixels()[i], 0) << "byte " << i;
    // The bottom row in memory is the red end of the ramp.
    EXPECT_GT(decoded->memoryRow(0)[2], 240);
    EXPECT_LT(decoded->memoryRow(47)[2], 15);
}

TEST(JpegCodec, EncoderWritesBaselineJfif)
{
    const auto encoded = encodeJpeg(*rampPicture(16, 16), 80);
    ASSERT_GT(encoded.size(), 20u);
    EXPECT_EQ(encoded[0], 0xFF);
    EXPECT_EQ(encoded[1], 0xD8);
    EXPECT_EQ(std::string(encoded.begin() + 6, encoded.begin() + 11), std::string("JFIF\0", 5));
    const std::string bytes(encoded.begin(), encoded.end());
    EXPECT_NE(bytes.find("\xFF\xC0"), std::string::npos);
    EXPECT_EQ(bytes.find("\xFF\xC2"), std::string::npos); // not progressive
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\xFF\xD9");
}

TEST(JpegCodec, QualityChangesTheSize)
{
    const auto picture = rampPicture(64, 64);
    EXPECT_LT(encodeJpeg(*picture, 20).size(), encodeJpeg(*picture, 95).size());
}

TEST(JpegCodec, PictureCutShortDecodesAtFullSize)
{
    const auto original = rampPicture(64, 64);
    auto encoded = encodeJpeg(*original, 90);
    // Cut halfway through the compressed scan, after the start-of-scan marker.
    const std::string bytes(encoded.begin(), encoded.end());
    const std::size_t scan = bytes.find("\xFF\xDA");
    ASSERT_NE(scan, std::string::npos);
    encoded.resize(scan + (encoded.size() - scan) / 2);
    const auto decoded = decode(encoded);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width(), 64);
    EXPECT_EQ(decoded->height(), 64);
    // What the data held is there: the top row of the picture is the last in memory.
    EXPECT_LE(rowDifference(*original, *decoded, 63), 12);
}

TEST(JpegCodec, GreyBecomesThreeEqualBytesAndZero)
{
    const std::vector<std::uint8_t> samples = {10, 128, 250, 10, 128, 250};
    const auto decoded = decode(compressSamples(samples, 3, 2, 1, JCS_GRAYSCALE));
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->width(), 3);
    ASSERT_EQ(decoded->height(), 2);
    for (int row = 0; row < 2; ++row) {
        const std::uint8_t* pixel = decoded->memoryRow(row);
        for (int x = 0; x < 3; ++x, pixel += 4) {
            EXPECT_EQ(pixel[0], pixel[1]);
            EXPECT_EQ(pixel[1], pixel[2]);
            EXPECT_NEAR(pixel[0], samples[std::size_t(x)], 6);
            EXPECT_EQ(pixel[3], 0);
        }
    }
}

TEST(JpegCodec, ProgressivePictureDecodes)
{
    const auto decoded = decode(compressSamples(std::vector<std::uint8_t>(16 * 8 * 3, 90), 16, 8, 3, JCS_RGB,
                                                Layout::ProgressiveFullResolution));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width(), 16);
    EXPECT_EQ(decoded->height(), 8);
    EXPECT_NEAR(decoded->pixels()[0], 90, 3);
}

struct RefusedJpeg {
    const char* name;
    std::vector<std::uint8_t> bytes;
};

class JpegRefused : public testing::TestWithParam<RefusedJpeg> {};

TEST_P(JpegRefused, YieldsNull)
{
    EXPECT_FALSE(decode(GetParam().bytes));
}

INSTANTIATE_TEST_SUITE_P(
    JpegCodec, JpegRefused,
    testing::Values(
        RefusedJpeg{"empty", {}},
        RefusedJpeg{"garbage", {'n', 'o', 't', ' ', 'a', ' ', 'J', 'P', 'E', 'G'}},
        RefusedJpeg{"start_marker_only", {0xFF, 0xD8}},
        // An application segment claiming far more bytes than follow: the
        // skip stops at the end of the data.
        RefusedJpeg{"segment_longer_than_data", {0xFF, 0xD8, 0xFF, 0xE5, 0xFF, 0xF0, 1, 2, 3}},
        RefusedJpeg{"cmyk", compressSamples(std::vector<std::uint8_t>(8 * 8 * 4, 90), 8, 8, 4, JCS_CMYK)},
        RefusedJpeg{"wider_than_8192", withFrameSize(encodeJpeg(*rampPicture(16, 10), 80), 9000, 10)},
        RefusedJpeg{"taller_than_8192", withFrameSize(encodeJpeg(*rampPicture(16, 10), 80), 10, 8193)},
        // 17 GB if it were allocated.
        RefusedJpeg{"huge_both_ways", withFrameSize(encodeJpeg(*rampPicture(16, 10), 80), 65500, 65500)},
        // A progressive picture keeps all its coefficients in memory: about
        // 400 MB for these sides, more than a decoder may take.
        RefusedJpeg{"progressive_needing_too_much_memory",
                    withFrameSize(compressSamples(std::vector<std::uint8_t>(16 * 16 * 3, 90), 16, 16, 3, JCS_RGB,
                                                  Layout::ProgressiveFullResolution),
                                  8192, 8192)}),
    [](const testing::TestParamInfo<RefusedJpeg>& info) { return std::string(info.param.name); });
