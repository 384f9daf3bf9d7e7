// The bytes of a minimal class file for the launch-mode tests: the class's
// own name entry in internal form (pkg/sub/Name), followed by a text entry or,
// as JBuilder lays it out, by the class reference to it.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "support/class_file_bytes.h"

namespace nerbo {

inline std::string SyntheticClassFile(const std::string& internal_name,
                                      bool class_reference_follows = false) {
  ClassFileBytes file;
  file.Text(internal_name);
  if (class_reference_follows) return file.ClassReference(1).Text("java/lang/Object").EndPool(2).bytes();
  return file.Text("Code").Text("java/lang/Object").ClassReference(1).EndPool(4).bytes();
}

inline void WriteSyntheticClassFile(const std::filesystem::path& file, const std::string& internal_name,
                                    bool class_reference_follows = false) {
  std::ofstream(file, std::ios::binary) << SyntheticClassFile(internal_name, class_reference_follows);
}

}  // namespace nerbo
