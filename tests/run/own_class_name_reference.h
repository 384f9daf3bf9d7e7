// The class file's own name read the plain way, the whole file in memory
// and every pool entry indexed, and the class run's naming built on it: the
// walk of the constant pool and the fuzz target are held against these.
#pragma once

#include <string>

#include "run/class_name_scanner.h"

namespace nerbo {

struct OwnClassName {
  bool read = false;  // false: no class file, or its own name is not a class name
  std::string internal_name;
  bool module = false;
};

OwnClassName ReferenceOwnClassName(const std::string& file);

// The own name where it can be read, with the window scan's note when the
// scan found the same name; else the window scan's answer.
ClassNameResult ReferenceClassRunName(const std::string& file, const std::string& simple_class_name);

}  // namespace nerbo
