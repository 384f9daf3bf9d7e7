#include "run/class_path.h"

#include <algorithm>

#include "runtime/environment.h"

namespace nerbo {
namespace {

void CutTail(std::string* text, std::size_t length) {
  text->erase(text->size() - std::min(length, text->size()));
}

}  // namespace

std::string BuildClassPath(const Conventions& conventions, const std::string& root_entry,
                           const std::string& tool_path, std::size_t tail_length,
                           const std::optional<std::string>& user_class_path) {
  std::string class_path = root_entry;
  class_path += conventions.list_separator;
  class_path += user_class_path ? *user_class_path : std::string(conventions.classpath_ref);
  class_path += conventions.list_separator;
  class_path += tool_path;
  CutTail(&class_path, tail_length);
  class_path += conventions.kit_classes;
  class_path += tool_path;
  CutTail(&class_path, tail_length);
  class_path += conventions.kit_classes_zip;
  return class_path;
}

std::optional<std::string> UserClassPath(const Conventions& conventions) {
  std::string value;
  if (!LookUpEnvironment(conventions.classpath_var, &value)) return std::nullopt;
  return value;
}

std::string PackageRootEntry(const Conventions& conventions, int package_depth) {
  if (package_depth <= 0) return ".";
  std::string entry;
  for (int level = 0; level < package_depth; ++level) {
    entry += "..";
    entry += conventions.dir_separator;
  }
  return entry;
}

}  // namespace nerbo
