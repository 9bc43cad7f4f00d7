#pragma once

#include "imaging/Image.h"

#include <array>
#include <cstdint>

// The brightness table the player applies to a copy of every frame it shows.
class GammaCorrection {
public:
    GammaCorrection() { setGamma(1.0); }
    virtual ~GammaCorrection() = default;

    // Limits the value to 0.1 .. 5.0 (NaN gives 5.0) and rebuilds the table:
    // table[i] = trunc((i / 255)^(1 / gamma) * 255 + 0.5), at most 255.
    void setGamma(double value);
    double gamma() const { return gamma_; }
    const std::array<std::uint8_t, 256>& table() const { return table_; }

    // Replaces blue, green and red of every pixel by their table values; the
    // fourth byte stays. Nothing happens when gamma is exactly 1.0.
    void apply(Image& image) const;

private:
    double gamma_ = 1.0;
    std::array<std::uint8_t, 256> table_{};
};
