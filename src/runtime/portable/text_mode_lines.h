// Reads a text-mode stream in pieces of lines, a block of bytes at a time,
// with the text-mode rules of TextModeReader: every carriage return is
// dropped wherever it stands, and a Ctrl+Z (26) ends the text for good.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

namespace nerbo {

// Fills `buffer` with up to `size` bytes and gives the count: 0 at the end of
// the data, -1 on a read error.
using TextBlockSource = std::function<long(char* buffer, std::size_t size)>;

class TextModeLines {
 public:
  explicit TextModeLines(TextBlockSource source);

  // Copies the bytes up to and including the next line feed, at most
  // `capacity` - 1 of them, into `piece` and ends them with a zero. Gives
  // their count; 0 when the text has ended, -1 when a read error struck
  // before the piece was complete.
  long ReadPiece(char* piece, std::size_t capacity);

 private:
  bool Refill();  // false at the end of the data or on a read error

  TextBlockSource source_;
  std::unique_ptr<char[]> block_;
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  std::size_t special_ = 0;  // the next carriage return or Ctrl+Z in the block, or filled_
  bool ended_ = false;
  bool failed_ = false;
};

}  // namespace nerbo
