#pragma once

#include "imaging/Image.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Decoders never raise: data they cannot decode yields null, and everything
// they allocated is released.

// A JPEG held in memory, through libjpeg's IJG interface. A picture cut short
// decodes as far as it goes (the rest as libjpeg fills it after an early end
// of image). Three-component output becomes BGR0, grey becomes GGG0; any
// other component count yields null.
std::unique_ptr<Image> decodeJpeg(const std::uint8_t* data, std::size_t size);

// A PNG held in memory, through libpng; every colour type comes out as BGR
// with a fourth byte of 0, or the PNG's alpha where it has transparency.
std::unique_ptr<Image> decodePng(const std::uint8_t* data, std::size_t size);

// Encodes a picture as a baseline JFIF JPEG (the fourth byte is ignored).
// Used to write recordings (demo, fixtures), never to read them.
std::vector<std::uint8_t> encodeJpeg(const Image& image, int quality);
