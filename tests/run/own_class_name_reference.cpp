#include "run/own_class_name_reference.h"

#include <vector>

#include "run/class_name_reference.h"

namespace nerbo {
namespace {

unsigned Byte(const std::string& file, std::size_t at) { return static_cast<unsigned char>(file[at]); }

unsigned Number(const std::string& file, std::size_t at) { return Byte(file, at) << 8 | Byte(file, at + 1); }

bool IsClassName(const std::string& name) {
  if (name.empty() || name.front() == '/' || name.back() == '/') return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (c == '.' || c == ';' || c == '[' || c == 0 || c >= 0xF0) return false;
    if (c == '/' && name[i + 1] == '/') return false;
  }
  return true;
}

}  // namespace

OwnClassName ReferenceOwnClassName(const std::string& file) {
  OwnClassName own;
  if (file.size() < 10 || file.compare(0, 4, "\xCA\xFE\xBA\xBE") != 0) return own;
  const unsigned count = Number(file, 8);
  // Where each entry starts; 0 for the second slot of a long or a double.
  std::vector<std::size_t> starts(count + 1, 0);
  std::size_t at = 10;
  for (unsigned index = 1; index < count; ++index) {
    if (at >= file.size()) return own;
    starts[index] = at;
    unsigned tag = Byte(file, at);
    std::size_t length = 0;
    if (tag == 1) {
      if (at + 3 > file.size()) return own;
      length = 2 + Number(file, at + 1);
    } else if (tag == 7 || tag == 8 || tag == 16 || tag == 19 || tag == 20) {
      length = 2;
    } else if (tag == 15) {
      length = 3;
    } else if (tag == 3 || tag == 4 || (tag >= 9 && tag <= 12) || tag == 17 || tag == 18) {
      length = 4;
    } else if (tag == 5 || tag == 6) {
      length = 8;
      if (++index >= count) return own;
    } else {
      return own;
    }
    at += 1 + length;
  }
  if (at + 4 > file.size()) return own;
  const unsigned own_reference = Number(file, at + 2);
  if (own_reference == 0 || own_reference >= count || starts[own_reference] == 0) return own;
  if (Byte(file, starts[own_reference]) != 7) return own;
  const unsigned name_index = Number(file, starts[own_reference] + 1);
  if (name_index == 0 || name_index >= count || starts[name_index] == 0) return own;
  if (Byte(file, starts[name_index]) != 1) return own;
  own.internal_name = file.substr(starts[name_index] + 3, Number(file, starts[name_index] + 1));
  own.read = IsClassName(own.internal_name);
  own.module = (Number(file, at) & 0x8000) != 0;
  return own;
}

ClassNameResult ReferenceClassRunName(const std::string& file, const std::string& simple_class_name) {
  ClassNameResult scanned = ReferenceQualifiedClassName(file, simple_class_name);
  OwnClassName own = ReferenceOwnClassName(file);
  if (!own.read) return scanned;
  ClassNameResult result;
  for (char c : own.internal_name) {
    result.qualified_name += c == '/' ? '.' : c;
    if (c == '/') ++result.package_depth;
  }
  result.jbuilder_note = scanned.jbuilder_note && scanned.qualified_name == result.qualified_name &&
                         scanned.package_depth == result.package_depth;
  result.own_name = true;
  result.module_descriptor = own.module;
  return result;
}

}  // namespace nerbo
