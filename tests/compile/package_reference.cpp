#include "compile/package_reference.h"

#include <memory>

#include "runtime/console.h"
#include "runtime/portable/text_mode_reader.h"

namespace nerbo {
namespace {

constexpr std::size_t kPieceBufferSize = 2000;

bool ReadPiece(TextModeReader& text, char* piece) {
  std::size_t count = 0;
  while (count < kPieceBufferSize - 1) {
    int byte = text.Get();
    if (byte < 0) {
      if (byte != kEndOfInput) return false;
      break;
    }
    piece[count++] = static_cast<char>(byte);
    if (byte == '\n') break;
  }
  piece[count] = '\0';
  return count > 0;
}

bool StartsWith(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++text, ++prefix) {
    if (*text != *prefix) return false;
  }
  return true;
}

const char* FindWord(const char* piece, bool* in_block_comment) {
  const char* at = piece;
  while (*at != '\0') {
    if (*in_block_comment) {
      if (StartsWith(at, "*/")) {
        *in_block_comment = false;
        at += 2;
      } else {
        ++at;
      }
      continue;
    }
    if (StartsWith(at, "//")) return nullptr;
    if (StartsWith(at, "/*")) *in_block_comment = true;
    if (StartsWith(at, "package")) return at + 7;
    ++at;
  }
  return nullptr;
}

int CountDepth(const char* after_word) {
  int depth = 1;
  for (const char* at = after_word; *at != '\0' && *at != ';' && *at != '\n'; ++at) {
    if (*at == '.') ++depth;
  }
  return depth;
}

}  // namespace

int ReferencePackageDepth(const std::string& bytes, bool read_error) {
  std::size_t position = 0;
  TextModeReader text([&]() -> int {
    if (position == bytes.size()) return read_error ? kInputError : kEndOfInput;
    return static_cast<unsigned char>(bytes[position++]);
  });
  std::unique_ptr<char[]> piece(new char[kPieceBufferSize]);
  bool in_block_comment = false;
  while (ReadPiece(text, piece.get())) {
    const char* after_word = FindWord(piece.get(), &in_block_comment);
    if (after_word != nullptr) return CountDepth(after_word);
  }
  return 0;
}

}  // namespace nerbo
