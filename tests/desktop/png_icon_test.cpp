#include <gtest/gtest.h>

#include "desktop/ico_image.h"
#include "desktop/png_writer.h"
#include "support/file_contents.h"

namespace nerbo {
namespace {

std::string ReadResource(const char* name) {
  return FileContents(std::string(NERBO_SOURCE_DIR) + "/res/" + name).value_or("");
}

std::uint32_t BigEndian(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
  return value;
}

std::string Pixel(const RgbaImage& image, std::uint32_t x, std::uint32_t y) {
  return image.pixels.substr((std::size_t{y} * image.width + x) * 4, 4);
}

struct ChecksumCase {
  const char* text;
  std::uint32_t crc;
  std::uint32_t adler;
};

class Checksums : public testing::TestWithParam<ChecksumCase> {};

TEST_P(Checksums, MatchPublishedValues) {
  EXPECT_EQ(Crc32(GetParam().text), GetParam().crc);
  EXPECT_EQ(Adler32(GetParam().text), GetParam().adler);
}

INSTANTIATE_TEST_SUITE_P(KnownVectors, Checksums,
                         testing::Values(ChecksumCase{"", 0x00000000u, 0x00000001u},
                                         ChecksumCase{"IEND", 0xAE426082u, 0x02D70121u},
                                         ChecksumCase{"123456789", 0xCBF43926u, 0x091E01DEu},
                                         ChecksumCase{"Wikipedia", 0xADAAC02Eu, 0x11E60398u}));

// Pixels drawn in res/make_icons.py: the corner outside the sheet is
// transparent, the sheet has a black border and a white inside.
TEST(IcoImage, ReadsTheProgramIconsTopDownWithTheirMask) {
  for (const char* name : {"class.ico", "source.ico"}) {
    SCOPED_TRACE(name);
    RgbaImage image;
    ASSERT_TRUE(ReadIcoImage(ReadResource(name), &image));
    ASSERT_EQ(image.width, 32u);
    ASSERT_EQ(image.height, 32u);
    ASSERT_EQ(image.pixels.size(), 32u * 32u * 4u);
    EXPECT_EQ(static_cast<unsigned char>(Pixel(image, 0, 0)[3]), 0u);
    EXPECT_EQ(Pixel(image, 4, 0), std::string("\x00\x00\x00\xff", 4));   // top border
    EXPECT_EQ(Pixel(image, 5, 1), std::string("\xff\xff\xff\xff", 4));   // inside
    EXPECT_EQ(Pixel(image, 4, 31), std::string("\x00\x00\x00\xff", 4));  // bottom border
    EXPECT_EQ(static_cast<unsigned char>(Pixel(image, 31, 31)[3]), 0u);
  }
  RgbaImage class_image, source_image;
  ASSERT_TRUE(ReadIcoImage(ReadResource("class.ico"), &class_image));
  ASSERT_TRUE(ReadIcoImage(ReadResource("source.ico"), &source_image));
  EXPECT_NE(class_image.pixels, source_image.pixels);
}

TEST(IcoImage, RefusesEveryShortenedFileAndOtherFormats) {
  const std::string ico = ReadResource("class.ico");
  for (std::size_t size = 0; size < ico.size(); ++size) {
    RgbaImage image;
    ASSERT_FALSE(ReadIcoImage(ico.substr(0, size), &image)) << size;
    EXPECT_TRUE(image.pixels.empty());
  }
  std::string cursor = ico;
  cursor[2] = 2;  // a cursor file, not an icon
  std::string sixteen_bits = ico;
  sixteen_bits[22 + 14] = 16;
  std::string far_offset = ico;
  far_offset[6 + 12] = '\xff';
  for (const std::string& bad : {cursor, sixteen_bits, far_offset}) {
    RgbaImage image;
    EXPECT_FALSE(ReadIcoImage(bad, &image));
  }
}

// Undoes the writer's framing with a reader of its own: chunks and their
// CRCs, the zlib header, stored blocks, the Adler-32, the row filters.
RgbaImage ReadStoredPng(const std::string& png) {
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  RgbaImage image;
  std::string stream;
  std::size_t at = 8;
  std::string type;
  while (type != "IEND") {
    const std::uint32_t length = BigEndian(png, at);
    type = png.substr(at + 4, 4);
    const std::string data = png.substr(at + 8, length);
    EXPECT_EQ(BigEndian(png, at + 8 + length), Crc32(type + data)) << type;
    if (type == "IHDR") {
      image.width = BigEndian(data, 0);
      image.height = BigEndian(data, 4);
      EXPECT_EQ(data.substr(8), std::string("\x08\x06\x00\x00\x00", 5));
    }
    if (type == "IDAT") stream += data;
    at += 12 + length;
  }
  EXPECT_EQ(at, png.size());

  EXPECT_EQ(stream.substr(0, 2), "\x78\x01");
  EXPECT_EQ((static_cast<unsigned char>(stream[0]) * 256 + static_cast<unsigned char>(stream[1])) % 31, 0);
  std::string raw;
  std::size_t position = 2;
  bool last = false;
  while (!last) {
    last = stream.at(position) == 1;
    const std::size_t length = static_cast<unsigned char>(stream[position + 1]) |
                               static_cast<unsigned char>(stream[position + 2]) << 8;
    const std::size_t inverse = static_cast<unsigned char>(stream[position + 3]) |
                                static_cast<unsigned char>(stream[position + 4]) << 8;
    EXPECT_EQ(length ^ inverse, 0xFFFFu);
    raw += stream.substr(position + 5, length);
    position += 5 + length;
  }
  EXPECT_EQ(BigEndian(stream, position), Adler32(raw));
  EXPECT_EQ(position + 4, stream.size());

  const std::size_t row = std::size_t{image.width} * 4 + 1;
  EXPECT_EQ(raw.size(), row * image.height);
  for (std::size_t y = 0; y < image.height && (y + 1) * row <= raw.size(); ++y) {
    EXPECT_EQ(raw[y * row], '\0');
    image.pixels += raw.substr(y * row + 1, row - 1);
  }
  return image;
}

TEST(PngWriter, StoresEveryPixelAcrossSeveralBlocks) {
  RgbaImage image;
  image.width = 300;
  image.height = 60;  // 72,060 bytes of rows: more than one stored block holds
  for (std::size_t i = 0; i < std::size_t{image.width} * image.height * 4; ++i) {
    image.pixels += static_cast<char>(i * 7 % 251);
  }
  RgbaImage read = ReadStoredPng(WritePng(image));
  EXPECT_EQ(read.width, image.width);
  EXPECT_EQ(read.height, image.height);
  EXPECT_EQ(read.pixels, image.pixels);
}

}  // namespace
}  // namespace nerbo
