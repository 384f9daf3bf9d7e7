// Builds the bytes of a class file, entry by entry, for the tests.
#pragma once

#include <cstddef>
#include <string>

namespace nerbo {

class ClassFileBytes {
 public:
  // Magic number, version 55 and a constant-pool count.
  ClassFileBytes() : bytes_("\xCA\xFE\xBA\xBE\x00\x00\x00\x37\x00\x1E", 10) {}

  // A text entry: tag 1, the two-byte big-endian length, the text.
  ClassFileBytes& Text(const std::string& text) {
    bytes_ += '\x01';
    TwoBytes(text.size());
    bytes_ += text;
    return *this;
  }
  // A class reference: tag 7 and the two-byte index of its name entry.
  ClassFileBytes& ClassReference(std::size_t index) {
    bytes_ += '\x07';
    TwoBytes(index);
    return *this;
  }
  ClassFileBytes& Raw(const std::string& bytes) {
    bytes_ += bytes;
    return *this;
  }
  // Filler bytes up to `size` bytes in all.
  ClassFileBytes& FillTo(std::size_t size, char filler = 'x') {
    if (bytes_.size() < size) bytes_.append(size - bytes_.size(), filler);
    return *this;
  }

  const std::string& bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }

 private:
  void TwoBytes(std::size_t number) {
    bytes_ += static_cast<char>((number >> 8) & 0xFF);
    bytes_ += static_cast<char>(number & 0xFF);
  }

  std::string bytes_;
};

}  // namespace nerbo
