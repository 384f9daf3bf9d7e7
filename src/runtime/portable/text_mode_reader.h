// Reads bytes the way a text-mode stream delivers them: every carriage
// return is dropped wherever it stands, and a Ctrl+Z (26) ends the text for
// good. Used for standard input.
#pragma once

#include <functional>

namespace nerbo {

class TextModeReader {
 public:
  // `next_byte` yields a byte 0..255, or a negative number at the end of the
  // data or on a read error.
  explicit TextModeReader(std::function<int()> next_byte) : next_byte_(std::move(next_byte)) {}

  // A byte, or the negative number that ended the data (Ctrl+Z reads as the
  // end of the data, kept from then on).
  int Get();

 private:
  std::function<int()> next_byte_;
  int end_ = 0;  // 0 while the data goes on
};

}  // namespace nerbo
