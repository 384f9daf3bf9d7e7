#include "desktop/text_editor.h"

#include <sstream>

#include "runtime/environment.h"
#include "runtime/file_search.h"
#include "runtime/portable/search_path.h"

namespace nerbo {
namespace {

// Desktop editors first, since a file manager's user is at a desktop; then
// the system's chosen editor and the editors of every terminal.
constexpr const char* kKnownEditors[] = {
    "gnome-text-editor", "gedit",  "kate", "kwrite", "mousepad", "pluma", "xed",
    "featherpad",        "editor", "nano", "vim",    "vi",
};

std::vector<std::string> Words(const std::string& command) {
  std::vector<std::string> words;
  std::istringstream stream(command);
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

std::string FindOnPath(const char* name) {
  std::string path_list;
  if (!LookUpEnvironment("PATH", &path_list)) return "";
  for (const std::string& place : PlacesAlongPath(name, path_list, ':', '/')) {
    // Relative places would name a file of whatever directory the entry is started in.
    if (place[0] == '/' && IsExecutableFile(place)) return place;
  }
  return "";
}

}  // namespace

std::vector<std::string> FindTextEditor() {
  for (const char* variable : {"VISUAL", "EDITOR"}) {
    std::string command;
    if (LookUpEnvironment(variable, &command) && !Words(command).empty()) return Words(command);
  }
  for (const char* name : kKnownEditors) {
    std::string found = FindOnPath(name);
    if (!found.empty()) return {found};
  }
  return {};
}

}  // namespace nerbo
