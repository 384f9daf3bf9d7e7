#include "run/constant_pool_walk.h"

#include <algorithm>
#include <cstring>

namespace nerbo {
namespace {

constexpr unsigned char kMagic[] = {0xCA, 0xFE, 0xBA, 0xBE};
constexpr unsigned char kTextTag = 1;
constexpr unsigned char kClassTag = 7;
constexpr std::uint16_t kModuleFlag = 0x8000;

std::uint16_t TwoBytes(const unsigned char* bytes) {
  return static_cast<std::uint16_t>((bytes[0] << 8) | bytes[1]);
}

// What follows the tag of every entry but a text; 0 for no known tag.
std::size_t FixedPartLength(unsigned char tag) {
  switch (tag) {
    case 7:
    case 8:
    case 16:
    case 19:
    case 20:  // class, string, method type, module, package
      return 2;
    case 15:  // method handle
      return 3;
    case 3:
    case 4:
    case 9:
    case 10:
    case 11:
    case 12:
    case 17:
    case 18:  // numbers, references, dynamic
      return 4;
    case 5:
    case 6:  // long, double
      return 8;
    default:
      return 0;
  }
}

// A long or a double takes two slots of the pool.
std::uint32_t SlotsOf(unsigned char tag) { return tag == 5 || tag == 6 ? 2 : 1; }

}  // namespace

bool ConstantPoolWalk::Take(const unsigned char* bytes, std::size_t count) {
  while (count > 0 && stage_ != Stage::kComplete && stage_ != Stage::kFailed) {
    if (stage_ == Stage::kText) {
      std::size_t length = std::min(count, text_left_);
      if (index_ == wanted_text_) text_.append(reinterpret_cast<const char*>(bytes), length);
      bytes += length;
      count -= length;
      text_left_ -= length;
      if (text_left_ == 0) EndEntry();
      continue;
    }
    std::size_t length = std::min(count, field_length_ - field_filled_);
    std::memcpy(field_ + field_filled_, bytes, length);
    bytes += length;
    count -= length;
    field_filled_ += length;
    if (field_filled_ == field_length_) TakeField();
  }
  return stage_ != Stage::kComplete && stage_ != Stage::kFailed;
}

void ConstantPoolWalk::Expect(Stage stage, std::size_t length) {
  stage_ = stage;
  field_length_ = length;
  field_filled_ = 0;
}

void ConstantPoolWalk::TakeField() {
  switch (stage_) {
    case Stage::kHeader:
      if (std::memcmp(field_, kMagic, sizeof kMagic) != 0) return Fail();
      pool_count_ = TwoBytes(field_ + 8);
      index_ = 1;
      return NextEntry();
    case Stage::kTag:
      tag_ = field_[0];
      if (tag_ == kTextTag) return Expect(Stage::kTextLength, 2);
      if (FixedPartLength(tag_) == 0) return Fail();
      return Expect(Stage::kFixedPart, FixedPartLength(tag_));
    case Stage::kFixedPart:
      if (tag_ == kClassTag && wanted_text_ == 0) {
        class_references_.emplace_back(static_cast<std::uint16_t>(index_), TwoBytes(field_));
      }
      return EndEntry();
    case Stage::kTextLength:
      text_left_ = TwoBytes(field_);
      if (text_left_ == 0) return EndEntry();
      stage_ = Stage::kText;
      return;
    case Stage::kClassFacts:
      return EndWithClassFacts();
    default:
      return;
  }
}

void ConstantPoolWalk::EndEntry() {
  if (index_ == wanted_text_) {
    stage_ = Stage::kComplete;
    return;
  }
  index_ += SlotsOf(tag_);
  // Both slots of a long or a double lie inside the pool.
  if (index_ > pool_count_) return Fail();
  NextEntry();
}

void ConstantPoolWalk::NextEntry() {
  if (wanted_text_ != 0 && (index_ > wanted_text_ || index_ == pool_count_)) return Fail();
  if (index_ < pool_count_) return Expect(Stage::kTag, 1);
  // Past the pool: the access flags, then the class's own reference.
  Expect(Stage::kClassFacts, 4);
}

void ConstantPoolWalk::EndWithClassFacts() {
  const std::uint16_t own_reference = TwoBytes(field_ + 2);
  auto found = std::lower_bound(class_references_.begin(), class_references_.end(), own_reference,
                                [](const std::pair<std::uint16_t, std::uint16_t>& entry,
                                   std::uint16_t index) { return entry.first < index; });
  if (found == class_references_.end() || found->first != own_reference) return Fail();
  name_index_ = found->second;
  if (name_index_ == 0 || name_index_ >= pool_count_) return Fail();
  module_ = (TwoBytes(field_) & kModuleFlag) != 0;
  stage_ = Stage::kComplete;
}

}  // namespace nerbo
