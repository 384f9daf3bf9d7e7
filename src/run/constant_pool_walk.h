// Walks the constant pool of a class file as its bytes arrive, in pieces of
// any size, holding the pool's class references but never the pool: what
// java reads as the class's own name (this_class) is found in two walks.
// Tags, lengths and indexes are checked, so a damaged file reads as no
// class file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace nerbo {

class ConstantPoolWalk {
 public:
  // With no `wanted_text` the walk passes the whole pool and reads the
  // class's own reference and access flags after it; with one, it stops at
  // that pool entry and keeps its text.
  explicit ConstantPoolWalk(std::uint16_t wanted_text = 0) : wanted_text_(wanted_text) {}

  // Takes the next `count` bytes of the file; false once the walk wants no
  // more, because it is complete or the bytes are no class file.
  bool Take(const unsigned char* bytes, std::size_t count);

  bool Complete() const { return stage_ == Stage::kComplete; }

  // After a complete walk of the whole pool: the index of the text entry
  // that names the class, and whether the file describes a module.
  std::uint16_t NameIndex() const { return name_index_; }
  bool Module() const { return module_; }

  // After a complete walk to the wanted entry: its text (empty for an entry
  // that is no text).
  const std::string& Text() const { return text_; }

 private:
  enum class Stage { kHeader, kTag, kFixedPart, kTextLength, kText, kClassFacts, kComplete, kFailed };

  void Expect(Stage stage, std::size_t length);
  void TakeField();
  void NextEntry();
  void EndEntry();
  void EndWithClassFacts();
  void Fail() { stage_ = Stage::kFailed; }

  const std::uint16_t wanted_text_;
  Stage stage_ = Stage::kHeader;
  unsigned char field_[10] = {};
  std::size_t field_length_ = 10;  // magic, versions and the pool count come first
  std::size_t field_filled_ = 0;
  std::size_t text_left_ = 0;
  unsigned char tag_ = 0;
  std::uint16_t pool_count_ = 0;
  std::uint32_t index_ = 0;  // past 65535 when a long takes the last slots
  // The class references met, by their index: (index, index of the name).
  std::vector<std::pair<std::uint16_t, std::uint16_t>> class_references_;
  std::uint16_t name_index_ = 0;
  bool module_ = false;
  std::string text_;
};

}  // namespace nerbo
