// The bytes of a minimal class file for the launch-mode tests: the class's
// own name entry in internal form (pkg/sub/Name), followed by a text entry or,
// as JBuilder lays it out, by the class reference to it.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "support/class_file_bytes.h"

namespace nerbo {

// `mentioned_first`, if any, names a class the file mentions ahead of its own
// name, where the byte scan took it for the class's.
inline std::string SyntheticClassFile(const std::string& internal_name, bool class_reference_follows = false,
                                      const char* mentioned_first = nullptr) {
  ClassFileBytes file;
  std::size_t own = mentioned_first != nullptr ? 3 : 1;
  if (mentioned_first != nullptr) file.Text(mentioned_first).Text("Code");
  file.Text(internal_name);
  if (class_reference_follows)
    return file.ClassReference(own).Text("java/lang/Object").EndPool(own + 1).bytes();
  return file.Text("Code").Text("java/lang/Object").ClassReference(own).EndPool(own + 3).bytes();
}

inline void WriteSyntheticClassFile(const std::filesystem::path& file, const std::string& internal_name,
                                    bool class_reference_follows = false,
                                    const char* mentioned_first = nullptr) {
  std::ofstream(file, std::ios::binary)
      << SyntheticClassFile(internal_name, class_reference_follows, mentioned_first);
}

}  // namespace nerbo
