#pragma once

#include "imaging/Image.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>

class QPainter;

struct ResourceBytes {
    const std::uint8_t* data;
    std::size_t size;
};

// The bytes of one of the program's resources, e.g. ("IMAGE", 285). They
// belong to the program and are never freed. Raises WindowException when the
// resource does not exist or is empty.
ResourceBytes resourceData(const QString& type, int number);

// An interface picture from the program's "IMAGE" resources, drawn by plain
// copy: the fourth byte is ignored on screen and nothing is blended.
class AlphaImage {
public:
    // Raises WindowException when the resource is missing; a resource that
    // does not decode gives an AlphaImage without a picture (size 0 x 0).
    explicit AlphaImage(int resourceNumber);
    explicit AlphaImage(std::unique_ptr<Image> image);
    virtual ~AlphaImage();

    int width() const;
    int height() const;
    const Image* image() const { return image_.get(); }

    // Copies the source rectangle (sourceX, bottom rows) of the picture onto
    // the destination rectangle, stretched by nearest neighbour. Source y is
    // 0 of the bottom-up picture: the source covers its lowest sourceHeight rows.
    void drawPart(QPainter& painter, int x, int y, int width, int height,
                  int sourceX, int sourceWidth, int sourceHeight) const;
    void drawAt(QPainter& painter, int x, int y) const;
    void drawStretched(QPainter& painter, int x, int y, int width, int height) const;

private:
    std::unique_ptr<Image> image_;
    struct Cache;
    std::unique_ptr<Cache> cache_; // the picture as an opaque top-down QImage
};
