#include "runtime/portable/search_path.h"

namespace nerbo {

std::vector<std::string> PlacesAlongPath(const std::string& name, const std::string& path_list,
                                         char list_separator, char dir_separator) {
  std::vector<std::string> places;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = path_list.find(list_separator, start);
    std::string directory = path_list.substr(start, end == std::string::npos ? end : end - start);
    if (directory.empty()) {
      places.push_back(name);
    } else {
      char last = directory.back();
      if (last != '/' && last != dir_separator) directory += dir_separator;
      places.push_back(directory + name);
    }
    if (end == std::string::npos) return places;
    start = end + 1;
  }
}

}  // namespace nerbo
