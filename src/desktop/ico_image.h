// Reads the one picture of a Windows icon file (palette-indexed, 1, 4 or 8
// bits a pixel, with its transparency mask) into top-down RGBA pixels, so
// the desktop can show the same pictures as the program file's resources.
#pragma once

#include <cstdint>
#include <string>

namespace nerbo {

struct RgbaImage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::string pixels;  // width * height * 4 bytes: red, green, blue, alpha; rows top-down
};

// False, with `image` unchanged, when `ico` is not such an icon or is cut short.
bool ReadIcoImage(const std::string& ico, RgbaImage* image);

}  // namespace nerbo
