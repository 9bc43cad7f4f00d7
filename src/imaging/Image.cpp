#include "imaging/Image.h"

std::unique_ptr<Image> Image::create(int width, int height)
{
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return nullptr;
    return std::unique_ptr<Image>(new Image(width, height));
}

Image::Image(int width, int height)
    : width_(width), height_(height),
      pixels_(static_cast<std::size_t>(width) * 4 * static_cast<std::size_t>(height))
{
}
