// A Java source as the compiler's lexer sees it: its bytes up to a Ctrl+Z
// (26), which ends the text for good, with every unicode escape (\uXXXX,
// also \uuXXXX) translated into the character it stands for, as Java does
// before it lexes. A character beyond ASCII becomes the byte 0x80: to the
// lexer it is a letter like any byte of a name spelt in UTF-8.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

namespace nerbo {

// Fills `buffer` with up to `size` bytes and gives the count: 0 at the end of
// the data, -1 on a read error.
using SourceBytes = std::function<long(char* buffer, std::size_t size)>;

class JavaSourceText {
 public:
  explicit JavaSourceText(SourceBytes source);

  // The next characters, a block of them at a time; empty once the text has
  // ended, at its end, a Ctrl+Z or a read error.
  std::string_view Next();

 private:
  std::size_t Translate(std::size_t count);

  SourceBytes source_;
  std::unique_ptr<char[]> block_;
  // An escape cut by the block's end: the backslash, one 'u' (any further
  // ones are alike) and at most three digits, put before the next block.
  char carry_[5] = {};
  std::size_t carried_ = 0;
  bool odd_backslashes_ = false;  // the raw text so far ends in an odd run of backslashes
  bool ended_ = false;
};

}  // namespace nerbo
