#include "support/file_contents.h"

#include <fstream>
#include <sstream>

namespace nerbo {

std::optional<std::string> FileContents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace nerbo
