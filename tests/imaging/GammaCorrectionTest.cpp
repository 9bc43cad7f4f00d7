#include "imaging/GammaCorrection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(GammaCorrection, TableForTheStartingBrightness)
{
    GammaCorrection correction;
    correction.setGamma(1.2);
    EXPECT_EQ(correction.gamma(), 1.2);
    EXPECT_EQ(correction.table()[0], 0);
    EXPECT_EQ(correction.table()[128], 144);
    EXPECT_EQ(correction.table()[255], 255);
    for (int i = 1; i < 256; ++i)
        ASSERT_GE(correction.table()[i], correction.table()[i - 1]) << i;
}

TEST(GammaCorrection, TableRoundsHalfUp)
{
    // (64 / 255)^(1 / 0.5) * 255 = 16.06..., (200 / 255)^2 * 255 = 156.86...
    GammaCorrection correction;
    correction.setGamma(0.5);
    EXPECT_EQ(correction.table()[64], 16);
    EXPECT_EQ(correction.table()[200], 157);
    EXPECT_EQ(correction.table()[255], 255);
}

TEST(GammaCorrection, ValueIsLimited)
{
    struct Case { double value; double stored; };
    const Case cases[] = {
        {0.05, 0.1}, {0.1, 0.1}, {-3.0, 0.1}, {4.99, 4.99}, {5.0, 5.0}, {7.0, 5.0},
        {std::numeric_limits<double>::infinity(), 5.0},
        {-std::numeric_limits<double>::infinity(), 0.1},
        {std::numeric_limits<double>::quiet_NaN(), 5.0},
    };
    for (const Case& c : cases) {
        GammaCorrection correction;
        correction.setGamma(c.value);
        EXPECT_EQ(correction.gamma(), c.stored) << c.value;
        EXPECT_EQ(correction.table()[255], 255) << c.value;
    }
}

namespace {

std::unique_ptr<Image> samplePicture()
{
    auto image = Image::create(7, 3); // odd sizes: no row padding to rely on
    for (int i = 0; i < image->byteSize(); ++i)
        image->pixels()[i] = std::uint8_t(i * 37 + 11);
    return image;
}

} // namespace

TEST(GammaCorrection, ApplyMapsColourBytesAndKeepsTheFourth)
{
    GammaCorrection correction;
    correction.setGamma(2.0);
    const auto original = samplePicture();
    Image corrected(*original);
    correction.apply(corrected);
    for (int i = 0; i < original->byteSize(); ++i) {
        const std::uint8_t before = original->pixels()[i];
        const std::uint8_t expected = i % 4 == 3 ? before : correction.table()[before];
        ASSERT_EQ(corrected.pixels()[i], expected) << "byte " << i;
    }
}

TEST(GammaCorrection, ApplyAtOneLeavesThePictureAlone)
{
    const auto original = samplePicture();
    GammaCorrection fresh;
    GammaCorrection reset;
    reset.setGamma(3.0);
    reset.setGamma(1.0);
    for (const GammaCorrection* correction : {&fresh, &reset}) {
        Image picture(*original);
        correction->apply(picture);
        EXPECT_TRUE(std::equal(picture.pixels(), picture.pixels() + picture.byteSize(), original->pixels()));
    }
}
