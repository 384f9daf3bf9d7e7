#include "run/jar_manifest.h"

#include "runtime/portable/ascii.h"

namespace nerbo {
namespace {

constexpr char kMainClassName[] = "Main-Class";

std::string TrimBlanks(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Takes the value of `attribute` ("Name: value") when it is Main-Class.
void TakeMainClass(const std::string& attribute, std::string* main_class) {
  std::size_t colon = attribute.find(':');
  if (colon == std::string::npos || !EqualsIgnoreCase(TrimBlanks(attribute.substr(0, colon)), kMainClassName)) {
    return;
  }
  *main_class = TrimBlanks(attribute.substr(colon + 1));
}

}  // namespace

std::string MainClassOf(const std::string& manifest) {
  std::string main_class;
  std::string attribute;
  for (std::size_t start = 0; start < manifest.size();) {
    std::size_t end = manifest.find_first_of("\r\n", start);
    if (end == std::string::npos) end = manifest.size();
    std::string line = manifest.substr(start, end - start);
    start = end + 1;
    if (end < manifest.size() && manifest[end] == '\r' && start < manifest.size() && manifest[start] == '\n') {
      ++start;
    }
    if (line.empty()) break;
    if (line[0] == ' ') {
      attribute += line.substr(1);
      continue;
    }
    TakeMainClass(attribute, &main_class);
    attribute = line;
  }
  TakeMainClass(attribute, &main_class);
  return main_class;
}

}  // namespace nerbo
