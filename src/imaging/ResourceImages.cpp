#include "imaging/ResourceImages.h"

#include "errors/Exception.h"
#include "imaging/ImageCodecs.h"

#include <QImage>
#include <QPainter>
#include <QResource>

#include <cerrno>

ResourceBytes resourceData(const QString& type, int number)
{
    const QResource resource(QStringLiteral(":/%1/%2").arg(type).arg(number));
    if (!resource.isValid() || !resource.data() || resource.size() <= 0)
        throw WindowException::fromError(ENOENT);
    // The bytes are used in place; a compressed entry would hand out the
    // compressed form.
    if (resource.compressionAlgorithm() != QResource::NoCompression)
        throw WindowException::fromError(ENOTSUP);
    return {resource.data(), static_cast<std::size_t>(resource.size())};
}

// The picture turned the right way up for painting, every pixel opaque so
// that the fourth byte never shows.
struct AlphaImage::Cache {
    QImage picture;

    explicit Cache(const Image& image)
        : picture(image.width(), image.height(), QImage::Format_RGB32)
    {
        for (int y = 0; y < image.height(); ++y) {
            const std::uint8_t* in = image.memoryRow(image.height() - 1 - y);
            auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < image.width(); ++x, in += 4)
                out[x] = qRgb(in[2], in[1], in[0]);
        }
    }
};

AlphaImage::AlphaImage(int resourceNumber)
    : AlphaImage([resourceNumber] {
          const ResourceBytes png = resourceData(QStringLiteral("IMAGE"), resourceNumber);
          return decodePng(png.data, png.size);
      }())
{
}

AlphaImage::AlphaImage(std::unique_ptr<Image> image)
    : image_(std::move(image)),
      cache_(image_ ? std::make_unique<Cache>(*image_) : nullptr)
{
}

AlphaImage::~AlphaImage() = default;

int AlphaImage::width() const
{
    return image_ ? image_->width() : 0;
}

int AlphaImage::height() const
{
    return image_ ? image_->height() : 0;
}

void AlphaImage::drawPart(QPainter& painter, int x, int y, int width, int height,
                          int sourceX, int sourceWidth, int sourceHeight) const
{
    if (!cache_)
        return;
    // Source y 0 of the bottom-up picture is its bottom edge.
    const QRect source(sourceX, cache_->picture.height() - sourceHeight, sourceWidth, sourceHeight);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(x, y, width, height), cache_->picture, source);
    painter.restore();
}

void AlphaImage::drawAt(QPainter& painter, int x, int y) const
{
    drawPart(painter, x, y, width(), height(), 0, width(), height());
}

void AlphaImage::drawStretched(QPainter& painter, int x, int y, int width, int height) const
{
    drawPart(painter, x, y, width, height, 0, this->width(), this->height());
}
