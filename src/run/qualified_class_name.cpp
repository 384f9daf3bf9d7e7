#include "run/qualified_class_name.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

#include "run/constant_pool_walk.h"
#include "runtime/name_encoding.h"

namespace nerbo {
namespace {

constexpr std::size_t kReadSize = 4096;

// Feeds `walk` from `source` until it wants no more or the data ends.
void WalkOn(ConstantPoolWalk& walk, const ClassByteSource& source) {
  std::unique_ptr<unsigned char[]> buffer(new unsigned char[kReadSize]);
  for (;;) {
    long count = source(buffer.get(), kReadSize);
    if (count <= 0 || !walk.Take(buffer.get(), std::min(static_cast<std::size_t>(count), kReadSize))) return;
  }
}

// A class or interface name in internal form: components joined by '/',
// none empty, none holding what the class-file format reserves.
bool IsInternalClassName(const std::string& name) {
  if (name.empty() || name.front() == '/' || name.back() == '/' || name.find("//") != std::string::npos) {
    return false;
  }
  return name.find_first_of(".;[") == std::string::npos;
}

// The UTF-16 unit that the modified UTF-8 form at `at` holds, and its length
// in `length`; nothing for bytes that form none, or an encoded zero, which
// no file name holds.
std::optional<std::uint32_t> UnitAt(const std::string& text, std::size_t at, std::size_t* length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  *length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3 : 0;
  if (*length == 0 || lead == 0 || at + *length > text.size()) return std::nullopt;
  static const unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F};
  std::uint32_t unit = lead & kLeadBits[*length];
  for (std::size_t i = 1; i < *length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
    unit = unit << 6 | (byte(i) & 0x3F);
  }
  if (*length == 3 && unit < 0x800) return std::nullopt;
  return unit;
}

// The name in plain UTF-8, as file names and the command line hold it: the
// class file writes a character beyond U+FFFF as the two 3-byte halves of
// its surrogate pair. Nothing for bytes that are no modified UTF-8 or for a
// half without its other.
std::optional<std::string> PlainUtf8(const std::string& modified) {
  std::string plain;
  std::size_t length = 0;
  for (std::size_t at = 0; at < modified.size(); at += length) {
    std::optional<std::uint32_t> unit = UnitAt(modified, at, &length);
    if (!unit) return std::nullopt;
    if (*unit < 0xD800 || *unit >= 0xE000) {
      plain.append(modified, at, length);
      continue;
    }
    std::size_t low_length = 0;
    std::optional<std::uint32_t> low = *unit < 0xDC00 ? UnitAt(modified, at + 3, &low_length) : std::nullopt;
    if (!low || *low < 0xDC00 || *low >= 0xE000) return std::nullopt;
    std::uint32_t code = 0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00);
    plain += static_cast<char>(0xF0 | code >> 18);
    plain += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    plain += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    plain += static_cast<char>(0x80 | (code & 0x3F));
    length = 6;
  }
  return plain;
}

}  // namespace

ClassNameResult ReadQualifiedClassName(const ClassFileReads& reads, const std::string& simple_class_name) {
  ConstantPoolWalk pool;
  ClassByteSource first_read = reads();
  bool walking = true;
  ClassNameResult scanned = ScanQualifiedClassName(
      [&](unsigned char* buffer, std::size_t size) -> long {
        long count = first_read(buffer, size);
        if (walking && count > 0)
          walking = pool.Take(buffer, std::min(static_cast<std::size_t>(count), size));
        return count;
      },
      simple_class_name);
  if (walking) WalkOn(pool, first_read);
  if (!pool.Complete()) return scanned;

  ConstantPoolWalk name_entry(pool.NameIndex());
  WalkOn(name_entry, reads());
  if (!name_entry.Complete() || !IsInternalClassName(name_entry.Text())) return scanned;
  std::optional<std::string> name = PlainUtf8(name_entry.Text());
  if (!name) return scanned;

  ClassNameResult own;
  own.qualified_name = *name;
  for (char& byte : own.qualified_name) {
    if (byte == '/') {
      byte = '.';
      ++own.package_depth;
    }
  }
  if (scanned.qualified_name == own.qualified_name && scanned.package_depth == own.package_depth) {
    own.jbuilder_note = scanned.jbuilder_note;
  }
  own.own_name = true;
  own.module_descriptor = pool.Module();
  return own;
}

ClassNameResult FindQualifiedClassName(const char* class_file_name, const std::string& simple_class_name) {
  ClassNameResult unread;
  unread.qualified_name = simple_class_name;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(class_file_name, "rb"), &std::fclose);
  if (!file) return unread;
  std::FILE* stream = file.get();
  // The reads go straight into the scan's window and the walk's buffer.
  std::setvbuf(stream, nullptr, _IONBF, 0);
  ClassNameResult found = ReadQualifiedClassName(
      [stream]() -> ClassByteSource {
        std::rewind(stream);
        return [stream](unsigned char* buffer, std::size_t size) -> long {
          std::size_t count = std::fread(buffer, 1, size, stream);
          if (count == 0 && std::ferror(stream)) return -1;
          return static_cast<long>(count);
        };
      },
      simple_class_name);
  // java reads the name on its command line in the platform's encoding; a
  // class whose name has no form there is given by its file's name, as a file
  // that cannot be read.
  if (!found.own_name) return found;
  std::optional<std::string> native = NativeNameFromUtf8(found.qualified_name);
  if (!native) return unread;
  found.qualified_name = *native;
  return found;
}

}  // namespace nerbo
