#include "compile/package_scanner.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace nerbo {
namespace {

constexpr char kPackageWord[] = "package";
constexpr std::size_t kKeywordLength = sizeof kPackageWord - 1;
// No class file can name a deeper package (an internal name holds at most
// 65535 bytes): counting stops there, whatever the source holds.
constexpr int kDeepestPackage = 32768;

// Letters, digits, '_', '$' and every byte beyond ASCII (of a letter spelt
// in UTF-8, or a translated escape).
const std::array<bool, 256> kNameParts = [] {
  std::array<bool, 256> parts{};
  for (int c = 0; c < 256; ++c) {
    parts[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
               c == '$' || c >= 0x80;
  }
  return parts;
}();

bool IsNamePart(char c) { return kNameParts[static_cast<unsigned char>(c)]; }

// The characters, at most four, that can change the lexer's state in one of
// its states: it leaps over the others, eight bytes at a time.
class Stops {
 public:
  explicit Stops(const char* characters) {
    for (std::size_t i = 0; i < 4; ++i) {
      unsigned char c = static_cast<unsigned char>(characters[std::min(i, std::strlen(characters) - 1)]);
      table_[c] = true;
      patterns_[i] = kOnes * c;
    }
  }

  const char* Leap(const char* at, const char* end) const {
    for (; end - at >= 8; at += 8) {
      std::uint64_t word;
      std::memcpy(&word, at, 8);
      if (AnyIn(word)) break;
    }
    while (at < end && !table_[static_cast<unsigned char>(*at)]) ++at;
    return at;
  }

 private:
  static constexpr std::uint64_t kOnes = 0x0101010101010101u;
  static constexpr std::uint64_t kHighs = 0x8080808080808080u;

  // Whether a byte of `word` is one of the four: that byte of word ^ pattern
  // is zero, and a zero byte is what (x - ones) & ~x & highs finds.
  bool AnyIn(std::uint64_t word) const {
    std::uint64_t found = 0;
    for (std::uint64_t pattern : patterns_) {
      std::uint64_t x = word ^ pattern;
      found |= (x - kOnes) & ~x;
    }
    return (found & kHighs) != 0;
  }

  std::array<bool, 256> table_{};
  std::array<std::uint64_t, 4> patterns_{};
};

const Stops kCodeStops("/\"'p");
// In the name after the keyword only comments are skipped.
const Stops kNameStops("/.;");
const Stops kLineCommentStops("\n\r");
const Stops kStringStops("\"\\\n\r");
const Stops kCharacterStops("'\\\n\r");
const Stops kTextBlockStops("\"\\");

// The lexer of what Java skips before the package declaration, fed a block
// of characters at a time: every state holds across the blocks' edges.
class PackageLexer {
 public:
  // False once the declaration's semicolon is found.
  bool Take(const char* at, const char* end);
  // The depth, at the semicolon or at the end of the text.
  int Depth() const;

 private:
  enum class State {
    kCode,
    kSlash,  // a '/' in code
    kLineComment,
    kBlockComment,
    kBlockCommentStar,  // a '*' in a block comment
    kQuote,             // a '"' in code: a string, or the first of three
    kTwoQuotes,         // "" in code: an empty string, or two of three
    kString,
    kCharacter,
    kEscape,  // a backslash in a string (or character, or text block)
    kTextBlock,
    kTextBlockQuotes,  // closing quotes of a text block, one or two so far
    kKeyword,          // the start of "package" at the start of a word
  };

  const char* TakeCode(const char* at, const char* end);
  const char* PastBlockComment(const char* at, const char* end);
  void Step(char c);
  void BackToCode();

  State state_ = State::kCode;
  State escaped_in_ = State::kString;  // where an escape goes back to
  bool after_name_part_ = false;       // the character before a code position is part of a name
  std::size_t matched_ = 0;            // letters of the keyword, or closing quotes, so far
  int depth_ = 0;                      // 0 until the keyword is found, then 1 plus the dots
  bool declaration_ended_ = false;
};

bool PackageLexer::Take(const char* at, const char* end) {
  while (at < end && !declaration_ended_) {
    switch (state_) {
      case State::kCode:
        at = TakeCode(at, end);
        continue;
      case State::kLineComment:
        at = kLineCommentStops.Leap(at, end);
        break;
      case State::kBlockComment:
        at = PastBlockComment(at, end);
        continue;
      case State::kString:
        at = kStringStops.Leap(at, end);
        break;
      case State::kCharacter:
        at = kCharacterStops.Leap(at, end);
        break;
      case State::kTextBlock:
        at = kTextBlockStops.Leap(at, end);
        break;
      default:
        break;
    }
    if (at < end) Step(*at++);
  }
  return !declaration_ended_;
}

// Past the "*/" that closes the comment, or to the end of the block, where a
// '*' may be the first of the two.
const char* PackageLexer::PastBlockComment(const char* at, const char* end) {
  for (;;) {
    const char* star = static_cast<const char*>(std::memchr(at, '*', static_cast<std::size_t>(end - at)));
    if (star == nullptr) return end;
    if (star + 1 == end) {
      state_ = State::kBlockCommentStar;
      return end;
    }
    if (star[1] == '/') {
      BackToCode();
      return star + 2;
    }
    at = star + 1;
  }
}

// Leaps through code to the next character that can begin something: a
// comment, a literal, the keyword at the start of a word or, once the
// keyword is found, a dot or the semicolon of the name.
const char* PackageLexer::TakeCode(const char* at, const char* end) {
  const char* start = at;
  const Stops& stops = depth_ == 0 ? kCodeStops : kNameStops;
  for (;;) {
    at = stops.Leap(at, end);
    if (at == end) {
      if (at > start) after_name_part_ = IsNamePart(at[-1]);
      return at;
    }
    // What ends in this block needs no state kept across blocks.
    const bool whole_word = static_cast<std::size_t>(end - at) > kKeywordLength;
    if (*at == '/' && whole_word && (at[1] == '/' || at[1] == '*')) {
      state_ = at[1] == '/' ? State::kLineComment : State::kBlockComment;
      return at + 2;
    }
    if (*at != 'p') break;
    if (at > start ? IsNamePart(at[-1]) : after_name_part_) {
      ++at;  // inside a word
      continue;
    }
    if (!whole_word) break;
    if (std::memcmp(at, kPackageWord, kKeywordLength) == 0 && !IsNamePart(at[kKeywordLength])) {
      depth_ = 1;
      after_name_part_ = false;
      return at + kKeywordLength;
    }
    ++at;
  }
  if (at > start) after_name_part_ = IsNamePart(at[-1]);
  Step(*at);
  return at + 1;
}

// One character, of those the state cannot leap over or any other.
void PackageLexer::Step(char c) {
  switch (state_) {
    case State::kCode:
      if (c == '/') {
        state_ = State::kSlash;
      } else if (depth_ == 0 && c == '"') {
        state_ = State::kQuote;
      } else if (depth_ == 0 && c == '\'') {
        state_ = State::kCharacter;
      } else if (depth_ == 0 && c == 'p' && !after_name_part_) {
        state_ = State::kKeyword;
        matched_ = 1;
      } else if (depth_ > 0 && c == '.') {
        if (++depth_ == kDeepestPackage) declaration_ended_ = true;
      } else if (depth_ > 0 && c == ';') {
        declaration_ended_ = true;
      }
      after_name_part_ = IsNamePart(c);
      return;
    case State::kSlash:
      if (c == '/' || c == '*') {
        state_ = c == '/' ? State::kLineComment : State::kBlockComment;
        return;
      }
      BackToCode();
      Step(c);
      return;
    case State::kLineComment:
      if (c == '\n' || c == '\r') BackToCode();
      return;
    case State::kBlockComment:
      if (c == '*') state_ = State::kBlockCommentStar;
      return;
    case State::kBlockCommentStar:
      if (c == '/') {
        BackToCode();
      } else if (c != '*') {
        state_ = State::kBlockComment;
      }
      return;
    case State::kQuote:
      if (c == '"') {
        state_ = State::kTwoQuotes;
        return;
      }
      state_ = State::kString;
      Step(c);
      return;
    case State::kTwoQuotes:
      if (c == '"') {
        state_ = State::kTextBlock;
        return;
      }
      BackToCode();  // an empty string
      Step(c);
      return;
    case State::kString:
    case State::kCharacter:
      if (c == '\\') {
        escaped_in_ = state_;
        state_ = State::kEscape;
      } else if (c == (state_ == State::kString ? '"' : '\'') || c == '\n' || c == '\r') {
        // The closing quote, or a line end: a literal never spans lines.
        BackToCode();
      }
      return;
    case State::kEscape:
      state_ = escaped_in_;
      return;
    case State::kTextBlock:
      if (c == '\\') {
        escaped_in_ = State::kTextBlock;
        state_ = State::kEscape;
      } else if (c == '"') {
        state_ = State::kTextBlockQuotes;
        matched_ = 1;
      }
      return;
    case State::kTextBlockQuotes:
      if (c != '"') {
        state_ = State::kTextBlock;
        Step(c);
      } else if (++matched_ == 3) {
        BackToCode();
      }
      return;
    case State::kKeyword:
      if (matched_ < kKeywordLength && c == kPackageWord[matched_]) {
        ++matched_;
        return;
      }
      state_ = State::kCode;
      after_name_part_ = matched_ < kKeywordLength || IsNamePart(c);
      if (!after_name_part_) depth_ = 1;
      Step(c);
      return;
  }
}

// Leaves a comment or a literal, whose last character is part of no name.
void PackageLexer::BackToCode() {
  state_ = State::kCode;
  after_name_part_ = false;
}

int PackageLexer::Depth() const {
  // The keyword as the text's last word.
  if (state_ == State::kKeyword && matched_ == kKeywordLength) return 1;
  return depth_;
}

}  // namespace

int ScanPackageDepth(const SourceBytes& source) {
  JavaSourceText text(source);
  PackageLexer lexer;
  for (std::string_view block = text.Next(); !block.empty(); block = text.Next()) {
    if (!lexer.Take(block.data(), block.data() + block.size())) break;
  }
  return lexer.Depth();
}

int FindPackageDepth(const char* source_name) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(source_name, "rb"), &std::fclose);
  if (!file) return 0;
  std::FILE* stream = file.get();
  // The text's block is the only buffer: each read goes straight into it.
  std::setvbuf(stream, nullptr, _IONBF, 0);
  return ScanPackageDepth([stream](char* buffer, std::size_t size) -> long {
    std::size_t count = std::fread(buffer, 1, size, stream);
    if (count == 0 && std::ferror(stream)) return -1;
    return static_cast<long>(count);
  });
}

}  // namespace nerbo
