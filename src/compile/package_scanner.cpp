#include "compile/package_scanner.h"

#include <cstdio>
#include <memory>

#include "runtime/console.h"

namespace nerbo {
namespace {

// A line arrives in pieces of at most 1999 bytes, each followed by a zero.
constexpr std::size_t kPieceBufferSize = 2000;
constexpr char kWord[] = "package";
constexpr std::size_t kWordLength = sizeof(kWord) - 1;

// Reads the bytes up to and including the next line feed, at most one less
// than the buffer holds, and ends them with a zero. False when nothing was
// read, or when a read error struck: the piece it cut is not scanned.
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

// Every comparison stops at the first unequal byte, so it never passes the
// zero that ends the piece's text.
bool StartsWith(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++text, ++prefix) {
    if (*text != *prefix) return false;
  }
  return true;
}

// Walks one piece; gives the position just after the word, or nullptr.
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
    // The walk goes on at the opener's own '*', so "/*/" opens and closes.
    if (StartsWith(at, "/*")) *in_block_comment = true;
    if (StartsWith(at, kWord)) return at + kWordLength;
    ++at;
  }
  return nullptr;
}

// Every dot up to the ';' or line end counts, inside a comment too.
int CountDepth(const char* after_word) {
  int depth = 1;
  for (const char* at = after_word; *at != '\0' && *at != ';' && *at != '\n'; ++at) {
    if (*at == '.') ++depth;
  }
  return depth;
}

}  // namespace

int ScanPackageDepth(TextModeReader& text) {
  std::unique_ptr<char[]> piece(new char[kPieceBufferSize]);
  bool in_block_comment = false;
  while (ReadPiece(text, piece.get())) {
    const char* after_word = FindWord(piece.get(), &in_block_comment);
    if (after_word != nullptr) return CountDepth(after_word);
  }
  return 0;
}

int FindPackageDepth(const char* source_name) {
  // Binary mode: the reader applies the text-mode rules itself, the same on
  // every platform.
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(source_name, "rb"), &std::fclose);
  if (!file) return 0;
  std::FILE* stream = file.get();
  TextModeReader text([stream]() -> int {
    int byte = std::getc(stream);
    if (byte != EOF) return byte;
    return std::ferror(stream) ? kInputError : kEndOfInput;
  });
  return ScanPackageDepth(text);
}

}  // namespace nerbo
