#include "desktop/ico_image.h"

#include <cstddef>

namespace nerbo {
namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kDirectoryEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kLargestSide = 256;

std::uint32_t Little(const std::string& bytes, std::size_t at, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t i = count; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// Bitmap rows are padded to whole 32-bit words.
std::size_t RowBytes(std::uint32_t width, std::uint32_t bits) { return (width * bits + 31) / 32 * 4; }

}  // namespace

bool ReadIcoImage(const std::string& ico, RgbaImage* image) {
  if (ico.size() < kDirectorySize + kDirectoryEntrySize) return false;
  if (Little(ico, 0, 2) != 0 || Little(ico, 2, 2) != 1 || Little(ico, 4, 2) < 1) return false;

  const std::size_t offset = Little(ico, kDirectorySize + 12, 4);
  if (offset > ico.size() || ico.size() - offset < kInfoHeaderSize) return false;
  if (Little(ico, offset, 4) != kInfoHeaderSize) return false;  // a PNG-compressed entry is not handled
  const std::uint32_t width = Little(ico, offset + 4, 4);
  const std::uint32_t double_height = Little(ico, offset + 8, 4);  // colour rows, then mask rows
  const std::uint32_t bits = Little(ico, offset + 14, 2);
  const std::uint32_t compression = Little(ico, offset + 16, 4);
  std::uint32_t colours = Little(ico, offset + 32, 4);
  if (bits != 1 && bits != 4 && bits != 8) return false;
  if (compression != 0 || width == 0 || width > kLargestSide) return false;
  if (double_height == 0 || double_height % 2 != 0 || double_height / 2 > kLargestSide) return false;
  const std::uint32_t height = double_height / 2;
  if (colours == 0) colours = 1u << bits;
  if (colours > (1u << bits)) return false;

  const std::size_t palette = offset + kInfoHeaderSize;
  const std::size_t colour_rows = palette + colours * 4;
  const std::size_t colour_row_bytes = RowBytes(width, bits);
  const std::size_t mask_rows = colour_rows + colour_row_bytes * height;
  const std::size_t mask_row_bytes = RowBytes(width, 1);
  if (mask_rows + mask_row_bytes * height > ico.size()) return false;

  RgbaImage read;
  read.width = width;
  read.height = height;
  read.pixels.reserve(std::size_t{width} * height * 4);
  for (std::uint32_t y = 0; y < height; ++y) {
    const std::uint32_t stored_row = height - 1 - y;  // rows are stored bottom-up
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::size_t bit = std::size_t{x} * bits;
      const unsigned char packed =
          static_cast<unsigned char>(ico[colour_rows + stored_row * colour_row_bytes + bit / 8]);
      const std::uint32_t index = (packed >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
      if (index >= colours) return false;
      const std::size_t entry = palette + index * 4;  // blue, green, red, unused
      read.pixels += ico[entry + 2];
      read.pixels += ico[entry + 1];
      read.pixels += ico[entry];
      const unsigned char mask =
          static_cast<unsigned char>(ico[mask_rows + stored_row * mask_row_bytes + x / 8]);
      const bool transparent = (mask >> (7 - x % 8)) & 1;
      read.pixels += static_cast<char>(transparent ? 0 : 0xFF);
    }
  }
  *image = std::move(read);
  return true;
}

}  // namespace nerbo
