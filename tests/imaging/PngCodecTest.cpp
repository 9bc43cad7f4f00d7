#include "imaging/ImageCodecs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <optional>
#include <string>

#include <png.h>

namespace {

using Bgrx = std::array<std::uint8_t, 4>;
using Rgb = std::array<std::uint8_t, 3>;

// A PNG to write: samples top-down, one number per sample (an index, a grey
// level or one channel), packed by the writer for the bit depth.
struct PngPicture {
    int width = 0;
    int height = 0;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    std::vector<int> samples;
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> paletteAlpha;   // tRNS of a palette picture
    std::optional<Rgb> transparentColour;     // tRNS of an RGB picture
    bool interlaced = false;
};

int channels(int colourType)
{
    switch (colourType) {
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    default: return 1;
    }
}

std::vector<std::uint8_t> packRows(const PngPicture& picture)
{
    const int perRow = picture.width * channels(picture.colourType);
    const std::size_t rowBytes = (std::size_t(perRow) * picture.bitDepth + 7) / 8;
    std::vector<std::uint8_t> packed(rowBytes * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        std::uint8_t* row = packed.data() + rowBytes * y;
        for (int i = 0; i < perRow; ++i) {
            const int value = picture.samples[std::size_t(y * perRow + i)];
            if (picture.bitDepth == 16) {
                row[2 * i] = std::uint8_t(value >> 8);
                row[2 * i + 1] = std::uint8_t(value);
            } else {
                const int bit = i * picture.bitDepth; // first sample in the high bits
                row[bit / 8] |= std::uint8_t(value << (8 - picture.bitDepth - bit % 8));
            }
        }
    }
    return packed;
}

void appendBytes(png_structp png, png_bytep data, png_size_t count)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

bool writeWithLibpng(png_structp png, png_infop info, const PngPicture& picture, const png_color* palette,
                     png_bytepp rows, bool headerOnly, std::vector<std::uint8_t>* out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, appendBytes, nullptr);
    png_set_IHDR(png, info, png_uint_32(picture.width), png_uint_32(picture.height), picture.bitDepth,
                 picture.colourType, picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (palette)
        png_set_PLTE(png, info, palette, int(picture.palette.size()));
    if (!picture.paletteAlpha.empty())
        png_set_tRNS(png, info, picture.paletteAlpha.data(), int(picture.paletteAlpha.size()), nullptr);
    if (picture.transparentColour) {
        png_color_16 colour{};
        colour.red = (*picture.transparentColour)[0];
        colour.green = (*picture.transparentColour)[1];
        colour.blue = (*picture.transparentColour)[2];
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
    png_write_info(png, info);
    if (headerOnly)
        return true;
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

// Stops after the header chunk when headerOnly is set.
std::vector<std::uint8_t> writePng(const PngPicture& picture, bool headerOnly = false)
{
    std::vector<std::uint8_t> packed = headerOnly ? std::vector<std::uint8_t>{} : packRows(picture);
    std::vector<png_bytep> rows;
    const std::size_t rowBytes = picture.height ? packed.size() / std::size_t(picture.height) : 0;
    for (int y = 0; !headerOnly && y < picture.height; ++y)
        rows.push_back(packed.data() + rowBytes * y);
    std::vector<png_color> palette;
    for (const Rgb& c : picture.palette)
        palette.push_back({c[0], c[1], c[2]});

    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const bool written = writeWithLibpng(png, info, picture, palette.empty() ? nullptr : palette.data(),
                                         rows.data(), headerOnly, &out);
    png_destroy_write_struct(&png, &info);
    EXPECT_TRUE(written) << "libpng refused the test picture";
    return out;
}

std::vector<std::uint8_t> rgbPicture()
{
    PngPicture picture;
    picture.width = 3;
    picture.height = 2;
    picture.samples = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    return writePng(picture);
}

struct PngCase {
    const char* name;
    PngPicture picture;
    std::vector<Bgrx> expected; // top-down
};

PngPicture palettePicture(int bitDepth, std::vector<int> indices)
{
    PngPicture picture;
    picture.width = 3;
    picture.height = 2;
    picture.colourType = PNG_COLOR_TYPE_PALETTE;
    picture.bitDepth = bitDepth;
    picture.samples = std::move(indices);
    picture.palette.resize(std::size_t(1) << std::min(bitDepth, 8));
    for (std::size_t i = 0; i < picture.palette.size(); ++i)
        picture.palette[i] = {std::uint8_t(i * 3 + 1), std::uint8_t(200 - i / 2), std::uint8_t(i ^ 0x55)};
    return picture;
}

Bgrx paletteColour(int index, std::uint8_t fourth = 0)
{
    return {std::uint8_t(index ^ 0x55), std::uint8_t(200 - index / 2), std::uint8_t(index * 3 + 1), fourth};
}

std::vector<PngCase> pngCases()
{
    std::vector<PngCase> cases;
    cases.push_back({"palette_2bit", palettePicture(2, {0, 1, 2, 3, 2, 1}),
                     {paletteColour(0), paletteColour(1), paletteColour(2),
                      paletteColour(3), paletteColour(2), paletteColour(1)}});
    cases.push_back({"palette_4bit", palettePicture(4, {15, 0, 7, 8, 9, 1}),
                     {paletteColour(15), paletteColour(0), paletteColour(7),
                      paletteColour(8), paletteColour(9), paletteColour(1)}});
    cases.push_back({"palette_8bit", palettePicture(8, {255, 128, 0, 1, 2, 254}),
                     {paletteColour(255), paletteColour(128), paletteColour(0),
                      paletteColour(1), paletteColour(2), paletteColour(254)}});

    PngCase transparentPalette{"palette_with_transparency", palettePicture(8, {0, 1, 2, 3, 4, 0}), {}};
    transparentPalette.picture.paletteAlpha = {0, 128, 255}; // entries after these are opaque
    transparentPalette.expected = {paletteColour(0, 0), paletteColour(1, 128), paletteColour(2, 255),
                                   paletteColour(3, 255), paletteColour(4, 255), paletteColour(0, 0)};
    cases.push_back(transparentPalette);

    PngPicture grey;
    grey.width = 3;
    grey.height = 2;
    grey.colourType = PNG_COLOR_TYPE_GRAY;
    grey.samples = {0, 100, 255, 7, 8, 9};
    cases.push_back({"grey_8bit", grey,
                     {{0, 0, 0, 0}, {100, 100, 100, 0}, {255, 255, 255, 0}, {7, 7, 7, 0}, {8, 8, 8, 0}, {9, 9, 9, 0}}});

    PngPicture grey2 = grey;
    grey2.bitDepth = 2;
    grey2.samples = {0, 1, 2, 3, 2, 1};
    cases.push_back({"grey_2bit", grey2,
                     {{0, 0, 0, 0}, {85, 85, 85, 0}, {170, 170, 170, 0},
                      {255, 255, 255, 0}, {170, 170, 170, 0}, {85, 85, 85, 0}}});

    PngPicture greyAlpha = grey;
    greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.samples = {10, 0, 20, 50, 30, 255, 40, 1, 50, 2, 60, 3};
    cases.push_back({"grey_with_alpha", greyAlpha,
                     {{10, 10, 10, 0}, {20, 20, 20, 50}, {30, 30, 30, 255},
                      {40, 40, 40, 1}, {50, 50, 50, 2}, {60, 60, 60, 3}}});

    PngPicture rgb;
    rgb.width = 3;
    rgb.height = 2;
    rgb.samples = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    const std::vector<Bgrx> rgbExpected = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0},
                                           {30, 20, 10, 0}, {60, 50, 40, 0}, {90, 80, 70, 0}};
    cases.push_back({"rgb_8bit", rgb, rgbExpected});

    PngPicture interlaced = rgb;
    interlaced.interlaced = true;
    cases.push_back({"rgb_interlaced", interlaced, rgbExpected});

    PngPicture rgb16 = rgb;
    rgb16.bitDepth = 16;
    rgb16.samples = {0xFFFF, 0, 0x00FF, 0x1234, 0xABCD, 0x8000, 0, 0, 0xFF00,
                     0x0A00, 0x1400, 0x1E00, 0x28FF, 0x3201, 0x3C80, 0x4600, 0x5000, 0x5A00};
    cases.push_back({"rgb_16bit", rgb16,
                     {{0x00, 0x00, 0xFF, 0}, {0x80, 0xAB, 0x12, 0}, {0xFF, 0, 0, 0},
                      {30, 20, 10, 0}, {60, 50, 40, 0}, {90, 80, 70, 0}}});

    PngPicture rgbKey = rgb;
    rgbKey.transparentColour = Rgb{0, 255, 0};
    cases.push_back({"rgb_with_transparent_colour", rgbKey,
                     {{0, 0, 255, 255}, {0, 255, 0, 0}, {255, 0, 0, 255},
                      {30, 20, 10, 255}, {60, 50, 40, 255}, {90, 80, 70, 255}}});

    PngPicture rgba = rgb;
    rgba.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    rgba.samples = {255, 0, 0, 0, 0, 255, 0, 64, 0, 0, 255, 255, 10, 20, 30, 1, 40, 50, 60, 2, 70, 80, 90, 3};
    cases.push_back({"rgba_8bit", rgba,
                     {{0, 0, 255, 0}, {0, 255, 0, 64}, {255, 0, 0, 255},
                      {30, 20, 10, 1}, {60, 50, 40, 2}, {90, 80, 70, 3}}});
    return cases;
}

class PngColourTypes : public testing::TestWithParam<PngCase> {};

TEST_P(PngColourTypes, DecodeToBottomUpBgrAndFourthByte)
{
    const PngCase& c = GetParam();
    const std::vector<std::uint8_t> png = writePng(c.picture);
    const auto image = decodePng(png.data(), png.size());
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width(), c.picture.width);
    ASSERT_EQ(image->height(), c.picture.height);
    for (int y = 0; y < c.picture.height; ++y) {
        const std::uint8_t* pixel = image->memoryRow(c.picture.height - 1 - y);
        for (int x = 0; x < c.picture.width; ++x, pixel += 4) {
            const Bgrx actual = {pixel[0], pixel[1], pixel[2], pixel[3]};
            EXPECT_EQ(actual, c.expected[std::size_t(y * c.picture.width + x)]) << "x " << x << " y " << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(PngCodec, PngColourTypes, testing::ValuesIn(pngCases()),
                         [](const testing::TestParamInfo<PngCase>& info) { return std::string(info.param.name); });

struct RefusedPng {
    const char* name;
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> cut(std::vector<std::uint8_t> bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

std::vector<std::uint8_t> withByte(std::vector<std::uint8_t> bytes, std::size_t at, std::uint8_t value)
{
    bytes[at] = value;
    return bytes;
}

PngPicture oversized(int width, int height)
{
    PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.colourType = PNG_COLOR_TYPE_GRAY;
    return picture;
}

std::vector<RefusedPng> refusedPngs()
{
    const std::vector<std::uint8_t> good = rgbPicture();
    PngPicture wide = oversized(9000, 1);
    wide.samples.assign(9000, 7);
    return {
        {"empty", {}},
        {"wrong_signature", withByte(good, 1, 'Q')},
        {"signature_only", cut(good, 8)},
        {"cut_in_header", cut(good, 20)},
        {"cut_in_image_data", cut(good, good.size() - 16)},
        {"damaged_image_data", withByte(good, good.size() - 20, 0xEE)},
        {"wider_than_8192", writePng(wide)},
        // Only a header, claiming 17 GB of pixels.
        {"huge_header", writePng(oversized(65535, 65535), true)},
    };
}

class PngRefused : public testing::TestWithParam<RefusedPng> {};

TEST_P(PngRefused, YieldsNull)
{
    const std::vector<std::uint8_t>& bytes = GetParam().bytes;
    EXPECT_FALSE(decodePng(bytes.data(), bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(PngCodec, PngRefused, testing::ValuesIn(refusedPngs()),
                         [](const testing::TestParamInfo<RefusedPng>& info) { return std::string(info.param.name); });

TEST(PngCodec, ReadsNothingPastTheGivenSize)
{
    // The complete picture follows in memory, but the size given ends early.
    const std::vector<std::uint8_t> good = rgbPicture();
    EXPECT_FALSE(decodePng(good.data(), good.size() - 16));
    EXPECT_TRUE(decodePng(good.data(), good.size()));
}

} // namespace
