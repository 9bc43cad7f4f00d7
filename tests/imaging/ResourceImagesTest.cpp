#include "errors/Exception.h"
#include "imaging/ResourceImages.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QResource>

#include <cerrno>
#include <cstring>

// The test executable carries its own resources: picture ":/IMAGE/9101"
// (3 x 2, RGB: red green blue over (10,20,30) (40,50,60) (70,80,90)), an
// empty ":/KVREMPTY/1" and a compressed ":/KVRPACKED/1".

TEST(ResourceData, PresentResourceIsReadInPlace)
{
    const ResourceBytes first = resourceData(QStringLiteral("IMAGE"), 9101);
    ASSERT_GT(first.size, 8u);
    EXPECT_EQ(std::memcmp(first.data, "\x89PNG\r\n\x1a\n", 8), 0);
    const ResourceBytes second = resourceData(QStringLiteral("IMAGE"), 9101);
    EXPECT_EQ(second.data, first.data);
    EXPECT_EQ(second.size, first.size);
}

TEST(ResourceData, MissingOrEmptyRaisesWindowException)
{
    const QString notFound = WindowException::fromError(ENOENT).message();
    const std::pair<const char*, int> cases[] = {
        {"IMAGE", 9199}, {"IMAGE", -9101}, {"NOSUCHTYPE", 9101}, {"KVREMPTY", 1}, {"", 9101},
    };
    for (const auto& [type, number] : cases) {
        try {
            resourceData(QString::fromLatin1(type), number);
            ADD_FAILURE() << type << " " << number << " was found";
        } catch (const WindowException& e) {
            EXPECT_EQ(e.message(), notFound) << type << " " << number;
        }
    }
}

TEST(ResourceData, CompressedResourceIsRefused)
{
    ASSERT_NE(QResource(QStringLiteral(":/KVRPACKED/1")).compressionAlgorithm(), QResource::NoCompression);
    EXPECT_THROW(resourceData(QStringLiteral("KVRPACKED"), 1), WindowException);
}

TEST(AlphaImage, DecodesItsResourcePicture)
{
    const AlphaImage picture(9101);
    ASSERT_TRUE(picture.image());
    EXPECT_EQ(picture.width(), 3);
    EXPECT_EQ(picture.height(), 2);
    const std::uint8_t* topLeft = picture.image()->memoryRow(1);
    EXPECT_EQ(std::vector<int>(topLeft, topLeft + 4), (std::vector<int>{0, 0, 255, 0}));
}

TEST(AlphaImage, MissingResourceRaisesWindowException)
{
    EXPECT_THROW(AlphaImage(9199), WindowException);
}

namespace {

constexpr QRgb kBackground = 0xFF123456;

// A picture from top-down colours; the alpha of each colour goes to the
// fourth byte.
std::unique_ptr<Image> pictureOf(int width, int height, const std::vector<QRgb>& topDown)
{
    auto image = Image::create(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* pixel = image->memoryRow(height - 1 - y);
        for (int x = 0; x < width; ++x, pixel += 4) {
            const QRgb colour = topDown[std::size_t(y * width + x)];
            pixel[0] = std::uint8_t(qBlue(colour));
            pixel[1] = std::uint8_t(qGreen(colour));
            pixel[2] = std::uint8_t(qRed(colour));
            pixel[3] = std::uint8_t(qAlpha(colour));
        }
    }
    return image;
}

QImage canvas(int width, int height)
{
    QImage target(width, height, QImage::Format_ARGB32);
    target.fill(kBackground);
    return target;
}

std::vector<QRgb> pixelsOf(const QImage& image)
{
    std::vector<QRgb> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            pixels.push_back(image.pixel(x, y));
    return pixels;
}

constexpr QRgb A = 0xFF0000FF, B = 0xFF00FF00, C = 0xFFFF0000, D = 0xFF808080, E = 0xFFFFFFFF, F = 0xFF000000;
constexpr QRgb G = 0xFF102030, H = 0xFF405060;

} // namespace

TEST(AlphaImageDrawing, SourceHeightTakesTheBottomRows)
{
    // Rows from the top: A B, C D, E F, G H.
    const AlphaImage picture(pictureOf(2, 4, {A, B, C, D, E, F, G, H}));
    QImage target = canvas(2, 2);
    QPainter painter(&target);
    picture.drawPart(painter, 0, 0, 2, 2, 0, 2, 2);
    painter.end();
    EXPECT_EQ(pixelsOf(target), (std::vector<QRgb>{E, F, G, H}));
}

TEST(AlphaImageDrawing, SourceXSelectsColumns)
{
    const AlphaImage picture(pictureOf(3, 2, {A, B, C, D, E, F}));
    QImage target = canvas(2, 2);
    QPainter painter(&target);
    picture.drawPart(painter, 0, 0, 2, 2, 1, 2, 2);
    painter.end();
    EXPECT_EQ(pixelsOf(target), (std::vector<QRgb>{B, C, E, F}));
}

TEST(AlphaImageDrawing, StretchingRepeatsPixelsWithoutMixing)
{
    const AlphaImage picture(pictureOf(2, 1, {F, E}));
    QImage target = canvas(4, 2);
    QPainter painter(&target);
    picture.drawStretched(painter, 0, 0, 4, 2);
    painter.end();
    EXPECT_EQ(pixelsOf(target), (std::vector<QRgb>{F, F, E, E, F, F, E, E}));
}

TEST(AlphaImageDrawing, FourthByteNeitherBlendsNorShows)
{
    // Transparent and half-transparent by their fourth byte; copied as they are.
    const AlphaImage picture(pictureOf(2, 1, {0x00FF0000, 0x8000FF00}));
    QImage target = canvas(4, 3);
    QPainter painter(&target);
    picture.drawAt(painter, 1, 1);
    painter.end();
    const QRgb _ = kBackground;
    EXPECT_EQ(pixelsOf(target), (std::vector<QRgb>{_, _, _, _,
                                                   _, 0xFFFF0000, 0xFF00FF00, _,
                                                   _, _, _, _}));
}

TEST(AlphaImageDrawing, WithoutPictureDrawsNothing)
{
    const AlphaImage empty(std::unique_ptr<Image>{});
    EXPECT_EQ(empty.width(), 0);
    EXPECT_EQ(empty.height(), 0);
    QImage target = canvas(3, 3);
    QPainter painter(&target);
    empty.drawAt(painter, 0, 0);
    empty.drawStretched(painter, 0, 0, 3, 3);
    empty.drawPart(painter, 0, 0, 3, 3, 0, 1, 1);
    painter.end();
    EXPECT_EQ(pixelsOf(target), std::vector<QRgb>(9, kBackground));
}
