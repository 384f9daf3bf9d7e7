#include "run/qualified_class_name.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "run/constant_pool_walk.h"

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
// none empty, none holding what the class-file format reserves, and no byte
// that modified UTF-8 never writes.
bool IsInternalClassName(const std::string& name) {
  if (name.empty() || name.front() == '/' || name.back() == '/' || name.find("//") != std::string::npos) {
    return false;
  }
  for (char c : name) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (c == '.' || c == ';' || c == '[' || byte == 0 || byte >= 0xF0) return false;
  }
  return true;
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

  ClassNameResult own;
  own.qualified_name = name_entry.Text();
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
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(class_file_name, "rb"), &std::fclose);
  if (!file) {
    ClassNameResult result;
    result.qualified_name = simple_class_name;
    return result;
  }
  std::FILE* stream = file.get();
  // The reads go straight into the scan's window and the walk's buffer.
  std::setvbuf(stream, nullptr, _IONBF, 0);
  return ReadQualifiedClassName(
      [stream]() -> ClassByteSource {
        std::rewind(stream);
        return [stream](unsigned char* buffer, std::size_t size) -> long {
          std::size_t count = std::fread(buffer, 1, size, stream);
          if (count == 0 && std::ferror(stream)) return -1;
          return static_cast<long>(count);
        };
      },
      simple_class_name);
}

}  // namespace nerbo
