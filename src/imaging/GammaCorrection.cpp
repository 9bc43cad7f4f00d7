#include "imaging/GammaCorrection.h"

#include <algorithm>
#include <cmath>

void GammaCorrection::setGamma(double value)
{
    // Written so that NaN, which fails every comparison, ends at the top.
    if (!(value < 5.0))
        gamma_ = 5.0;
    else if (value < 0.1)
        gamma_ = 0.1;
    else
        gamma_ = value;

    for (int i = 0; i < 256; ++i) {
        const double corrected = std::trunc(std::pow(i / 255.0, 1.0 / gamma_) * 255.0 + 0.5);
        table_[std::size_t(i)] = std::uint8_t(std::min(corrected, 255.0));
    }
}

void GammaCorrection::apply(Image& image) const
{
    if (gamma_ == 1.0)
        return;
    const std::uint8_t* table = table_.data();
    std::uint8_t* pixel = image.pixels();
    std::uint8_t* const end = pixel + image.byteSize();
    for (; pixel != end; pixel += 4) {
        pixel[0] = table[pixel[0]];
        pixel[1] = table[pixel[1]];
        pixel[2] = table[pixel[2]];
    }
}
