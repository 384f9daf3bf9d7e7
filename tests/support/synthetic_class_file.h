// The bytes of a minimal class file for the launch-mode tests: the class's
// own name entry in internal form (pkg/sub/Name), followed by a text entry or,
// as JBuilder lays it out, by a class reference.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace nerbo {

inline std::string SyntheticClassFile(const std::string& internal_name, bool class_reference_follows = false) {
  std::string bytes("\xCA\xFE\xBA\xBE\x00\x00\x00\x37\x00\x10", 10);
  bytes += '\x01';
  bytes += static_cast<char>(internal_name.size() >> 8);
  bytes += static_cast<char>(internal_name.size() & 0xFF);
  bytes += internal_name;
  bytes += class_reference_follows ? std::string("\x07\x00\x02", 3) : std::string("\x01\x00\x04" "Code", 7);
  bytes += std::string("\x01\x00\x10", 3) + "java/lang/Object";
  return bytes;
}

inline void WriteSyntheticClassFile(const std::filesystem::path& file, const std::string& internal_name,
                                    bool class_reference_follows = false) {
  std::ofstream(file, std::ios::binary) << SyntheticClassFile(internal_name, class_reference_follows);
}

}  // namespace nerbo
