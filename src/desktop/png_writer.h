// Writes RGBA pixels as a PNG file without a compression library: the image
// data goes into stored (uncompressed) deflate blocks, which every PNG reader
// accepts. Icons are small, so the missing compression costs little.
#pragma once

#include <cstdint>
#include <string>

#include "desktop/ico_image.h"

namespace nerbo {

std::string WritePng(const RgbaImage& image);

// The checksums the format asks for, exposed for their tests.
std::uint32_t Crc32(const std::string& bytes);
std::uint32_t Adler32(const std::string& bytes);

}  // namespace nerbo
