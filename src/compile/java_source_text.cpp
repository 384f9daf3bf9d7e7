#include "compile/java_source_text.h"

#include <cstring>

namespace nerbo {
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;
constexpr char kCtrlZ = 26;
constexpr char kBeyondAscii = static_cast<char>(0x80);

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

JavaSourceText::JavaSourceText(SourceBytes source)
    : source_(std::move(source)), block_(new char[kBlockSize]) {}

std::string_view JavaSourceText::Next() {
  while (!ended_ || carried_ > 0) {
    std::memcpy(block_.get(), carry_, carried_);
    std::size_t count = carried_;
    carried_ = 0;
    if (!ended_) {
      long read = source_(block_.get() + count, kBlockSize - count);
      if (read <= 0) {
        ended_ = true;
      } else {
        // A source that claims more bytes than asked for must not widen the block.
        std::size_t fresh = std::min(static_cast<std::size_t>(read), kBlockSize - count);
        const char* ctrl_z = static_cast<const char*>(std::memchr(block_.get() + count, kCtrlZ, fresh));
        if (ctrl_z != nullptr) {
          fresh = static_cast<std::size_t>(ctrl_z - (block_.get() + count));
          ended_ = true;
        }
        count += fresh;
      }
    }
    std::size_t length = Translate(count);
    if (length > 0) return std::string_view(block_.get(), length);
  }
  return std::string_view();
}

// Translates the escapes among the first `count` bytes in place and gives the
// number of characters. An escape that the block's end may cut is carried to
// the next block; at the end of the text it is no escape.
std::size_t JavaSourceText::Translate(std::size_t count) {
  char* block = block_.get();
  std::size_t in = 0;
  std::size_t out = 0;
  while (in < count) {
    const char* backslash = static_cast<const char*>(std::memchr(block + in, '\\', count - in));
    std::size_t plain_end = backslash != nullptr ? static_cast<std::size_t>(backslash - block) : count;
    if (plain_end > in) {
      if (out != in) std::memmove(block + out, block + in, plain_end - in);
      out += plain_end - in;
      in = plain_end;
      odd_backslashes_ = false;
      continue;
    }
    // A backslash after an odd run of them is escaped by it and begins nothing.
    if (odd_backslashes_) {
      block[out++] = block[in++];
      odd_backslashes_ = false;
      continue;
    }
    std::size_t digits = in + 1;
    while (digits < count && block[digits] == 'u') ++digits;
    std::size_t end = digits;
    int value = 0;
    if (digits > in + 1) {
      for (; end < count && end < digits + 4 && HexValue(block[end]) >= 0; ++end) {
        value = value * 16 + HexValue(block[end]);
      }
    }
    if (end == count && (digits == in + 1 || end < digits + 4) && !ended_) {
      carry_[0] = '\\';
      carried_ = 1;
      if (digits > in + 1) {
        carry_[carried_++] = 'u';
        std::memcpy(carry_ + carried_, block + digits, end - digits);
        carried_ += end - digits;
      }
      return out;
    }
    if (digits > in + 1 && end == digits + 4) {
      block[out++] = value < 0x80 ? static_cast<char>(value) : kBeyondAscii;
      in = end;
      continue;
    }
    // No escape, or a broken one: the backslash is a character like others,
    // and one with no 'u' after it begins a run of them.
    block[out++] = block[in++];
    odd_backslashes_ = digits == in;
  }
  return out;
}

}  // namespace nerbo
