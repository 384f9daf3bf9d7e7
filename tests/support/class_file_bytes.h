// Builds the bytes of a class file, entry by entry, for the tests: a whole
// one when the pool is ended with EndPool, else the stretch the window scan
// looks at.
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
    ++slots_;
    return *this;
  }
  // A class reference: tag 7 and the two-byte index of its name entry.
  ClassFileBytes& ClassReference(std::size_t index) {
    bytes_ += '\x07';
    TwoBytes(index);
    ++slots_;
    return *this;
  }
  // A number: tag 3 or 4 with 4 bytes, or 5 or 6 (taking two slots) with 8.
  ClassFileBytes& Number(char tag, const std::string& value) {
    bytes_ += tag;
    bytes_ += value;
    slots_ += tag == 5 || tag == 6 ? 2 : 1;
    return *this;
  }
  // Writes the pool count and what follows the pool: the access flags, the
  // class's own reference, no super class, no interfaces, fields, methods or
  // attributes.
  ClassFileBytes& EndPool(std::size_t own_reference, std::size_t access_flags = 0x21) {
    bytes_[8] = static_cast<char>((slots_ + 1) >> 8);
    bytes_[9] = static_cast<char>((slots_ + 1) & 0xFF);
    TwoBytes(access_flags);
    TwoBytes(own_reference);
    bytes_.append(10, '\0');
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

  std::string bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }

 private:
  void TwoBytes(std::size_t number) {
    bytes_ += static_cast<char>((number >> 8) & 0xFF);
    bytes_ += static_cast<char>(number & 0xFF);
  }

  std::string bytes_;
  std::size_t slots_ = 0;
};

}  // namespace nerbo
