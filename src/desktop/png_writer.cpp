#include "desktop/png_writer.h"

#include <algorithm>
#include <cstddef>

namespace nerbo {
namespace {

constexpr std::size_t kStoredBlockLimit = 65535;
constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
constexpr unsigned char kRgbaColourType = 6;

void AppendBigEndian(std::string* out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) *out += static_cast<char>(value >> shift & 0xFF);
}

void AppendChunk(std::string* png, const char* type, const std::string& data) {
  std::string typed = type + data;
  AppendBigEndian(png, static_cast<std::uint32_t>(data.size()));
  *png += typed;
  AppendBigEndian(png, Crc32(typed));
}

// A zlib stream of stored blocks: header, blocks of at most 65535 bytes, and
// the Adler-32 of the raw data.
std::string StoredZlibStream(const std::string& raw) {
  std::string stream = "\x78\x01";
  std::size_t at = 0;
  do {
    const std::size_t length = std::min(kStoredBlockLimit, raw.size() - at);
    const bool last = at + length == raw.size();
    stream += static_cast<char>(last ? 1 : 0);
    stream += static_cast<char>(length & 0xFF);
    stream += static_cast<char>(length >> 8);
    stream += static_cast<char>(~length & 0xFF);
    stream += static_cast<char>(~length >> 8 & 0xFF);
    stream.append(raw, at, length);
    at += length;
  } while (at < raw.size());
  AppendBigEndian(&stream, Adler32(raw));
  return stream;
}

}  // namespace

std::uint32_t Crc32(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

std::uint32_t Adler32(const std::string& bytes) {
  constexpr std::uint32_t kModulus = 65521;
  std::uint32_t low = 1;
  std::uint32_t high = 0;
  for (unsigned char byte : bytes) {
    low = (low + byte) % kModulus;
    high = (high + low) % kModulus;
  }
  return high << 16 | low;
}

std::string WritePng(const RgbaImage& image) {
  const std::size_t row_bytes = std::size_t{image.width} * 4;
  std::string raw;
  raw.reserve((row_bytes + 1) * image.height);
  for (std::uint32_t y = 0; y < image.height; ++y) {
    raw += '\0';  // filter type None
    raw.append(image.pixels, y * row_bytes, row_bytes);
  }

  std::string header;
  AppendBigEndian(&header, image.width);
  AppendBigEndian(&header, image.height);
  header += '\x08';  // bits per channel
  header += static_cast<char>(kRgbaColourType);
  header += std::string(3, '\0');  // deflate, adaptive filtering, no interlace

  std::string png(kSignature, sizeof kSignature - 1);
  AppendChunk(&png, "IHDR", header);
  AppendChunk(&png, "IDAT", StoredZlibStream(raw));
  AppendChunk(&png, "IEND", "");
  return png;
}

}  // namespace nerbo
