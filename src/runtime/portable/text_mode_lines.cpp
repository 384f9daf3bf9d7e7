#include "runtime/portable/text_mode_lines.h"

#include <algorithm>
#include <cstring>

namespace nerbo {
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;
constexpr char kCtrlZ = 26;

// The index of the first carriage return or Ctrl+Z among bytes [from, to),
// or `to` when there is none.
std::size_t FindSpecial(const char* bytes, std::size_t from, std::size_t to) {
  const char* start = bytes + from;
  const char* cr = static_cast<const char*>(std::memchr(start, '\r', to - from));
  std::size_t before = cr ? static_cast<std::size_t>(cr - bytes) : to;
  const char* ctrl_z = static_cast<const char*>(std::memchr(start, kCtrlZ, before - from));
  return ctrl_z ? static_cast<std::size_t>(ctrl_z - bytes) : before;
}

}  // namespace

TextModeLines::TextModeLines(TextBlockSource source)
    : source_(std::move(source)), block_(new char[kBlockSize]) {}

bool TextModeLines::Refill() {
  long count = source_(block_.get(), kBlockSize);
  position_ = 0;
  filled_ = count > 0 ? static_cast<std::size_t>(count) : 0;
  // A source that claims more bytes than asked for must not widen the block.
  if (filled_ > kBlockSize) filled_ = kBlockSize;
  if (count < 0) failed_ = true;
  if (count <= 0) ended_ = true;
  special_ = FindSpecial(block_.get(), 0, filled_);
  return filled_ > 0;
}

long TextModeLines::ReadPiece(char* piece, std::size_t capacity) {
  std::size_t count = 0;
  while (count + 1 < capacity && !ended_) {
    if (position_ == filled_ && !Refill()) break;
    const char* bytes = block_.get() + position_;
    std::size_t length = std::min(filled_ - position_, capacity - 1 - count);
    const char* line_feed = static_cast<const char*>(std::memchr(bytes, '\n', length));
    if (line_feed != nullptr) length = static_cast<std::size_t>(line_feed - bytes) + 1;
    if (special_ >= position_ + length) {
      std::memcpy(piece + count, bytes, length);
      count += length;
      position_ += length;
      if (line_feed != nullptr) break;
      continue;
    }
    const std::size_t kept = special_ - position_;
    std::memcpy(piece + count, bytes, kept);
    count += kept;
    position_ = special_ + 1;                       // past the dropped byte
    if (block_[special_] == kCtrlZ) ended_ = true;  // what follows is never read
    special_ = FindSpecial(block_.get(), position_, filled_);
  }
  piece[count] = '\0';
  if (failed_) return -1;
  return static_cast<long>(count);
}

}  // namespace nerbo
