#pragma once

#include "imaging/ResourceImages.h"

#include <memory>

// The picture with the given resource id; raises WindowException when the
// resource is missing.
inline std::unique_ptr<AlphaImage> loadSkinImage(int id)
{
    return std::make_unique<AlphaImage>(id);
}

// As loadSkinImage, but id 0 means "no picture".
inline std::unique_ptr<AlphaImage> loadOptionalSkinImage(int id)
{
    return id != 0 ? loadSkinImage(id) : nullptr;
}

// True when the picture exists and decoded.
inline bool hasPicture(const std::unique_ptr<AlphaImage>& image)
{
    return image && image->image();
}
