#include "compile/package_scanner.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace nerbo {
namespace {

// A line arrives in pieces of at most 1999 bytes, each followed by a zero.
constexpr std::size_t kPieceBufferSize = 2000;
constexpr char kWord[] = "package";
constexpr std::size_t kWordLength = sizeof(kWord) - 1;

// Walks the text of one piece, [at, end); gives the position just after the
// word, or nullptr. Only a '/' (a comment's opener) and a 'p' (the word's
// first letter) can change anything outside a comment, and only "*/" inside
// one, so the walk leaps from one of these to the next.
const char* FindWord(const char* at, const char* end, bool* in_block_comment) {
  while (at < end) {
    if (*in_block_comment) {
      const char* star = static_cast<const char*>(std::memchr(at, '*', static_cast<std::size_t>(end - at)));
      while (star != nullptr && star + 1 < end && star[1] != '/') {
        star = static_cast<const char*>(std::memchr(star + 1, '*', static_cast<std::size_t>(end - star - 1)));
      }
      if (star == nullptr || star + 1 == end) return nullptr;
      *in_block_comment = false;
      at = star + 2;
      continue;
    }
    while (at < end && *at != '/' && *at != 'p') ++at;
    if (at == end) return nullptr;
    if (*at == '/') {
      if (at + 1 < end && at[1] == '/') return nullptr;
      // The walk goes on at the opener's own '*', so "/*/" opens and closes.
      if (at + 1 < end && at[1] == '*') *in_block_comment = true;
    } else if (static_cast<std::size_t>(end - at) >= kWordLength &&
               std::memcmp(at, kWord, kWordLength) == 0) {
      return at + kWordLength;
    }
    ++at;
  }
  return nullptr;
}

// Every dot up to the ';' or line end counts, inside a comment too.
int CountDepth(const char* at, const char* end) {
  int depth = 1;
  for (; at < end && *at != ';' && *at != '\n'; ++at) {
    if (*at == '.') ++depth;
  }
  return depth;
}

}  // namespace

int ScanPackageDepth(const TextBlockSource& source) {
  TextModeLines text(source);
  std::unique_ptr<char[]> piece(new char[kPieceBufferSize]);
  bool in_block_comment = false;
  for (;;) {
    long count = text.ReadPiece(piece.get(), kPieceBufferSize);
    if (count <= 0) return 0;
    // A zero byte read from the file hides the rest of its piece.
    const char* end =
        static_cast<const char*>(std::memchr(piece.get(), '\0', static_cast<std::size_t>(count) + 1));
    const char* after_word = FindWord(piece.get(), end, &in_block_comment);
    if (after_word != nullptr) return CountDepth(after_word, end);
  }
}

int FindPackageDepth(const char* source_name) {
  // Binary mode: the reader applies the text-mode rules itself, the same on
  // every platform.
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(source_name, "rb"), &std::fclose);
  if (!file) return 0;
  std::FILE* stream = file.get();
  // The reader's block is the only buffer: each read goes straight into it.
  std::setvbuf(stream, nullptr, _IONBF, 0);
  return ScanPackageDepth([stream](char* buffer, std::size_t size) -> long {
    std::size_t count = std::fread(buffer, 1, size, stream);
    if (count == 0 && std::ferror(stream)) return -1;
    return static_cast<long>(count);
  });
}

}  // namespace nerbo
