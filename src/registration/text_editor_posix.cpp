#include "registration/text_editor.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>

namespace nerbo {
namespace {

// Desktop editors first, since a file manager's user is at a desktop; then
// the system's chosen editor and the editors of every terminal.
constexpr const char* kKnownEditors[] = {
    "gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "pluma", "xed", "featherpad",
    "editor",            "nano",  "vim",  "vi",
};

std::vector<std::string> Words(const char* command) {
  std::vector<std::string> words;
  std::istringstream stream(command);
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

std::string FindOnPath(const char* name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return "";
  std::istringstream directories(path);
  for (std::string directory; std::getline(directories, directory, ':');) {
    if (directory.empty()) continue;
    std::string candidate = directory + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

}  // namespace

std::vector<std::string> FindTextEditor() {
  for (const char* variable : {"VISUAL", "EDITOR"}) {
    const char* command = std::getenv(variable);
    if (command != nullptr && !Words(command).empty()) return Words(command);
  }
  for (const char* name : kKnownEditors) {
    std::string found = FindOnPath(name);
    if (!found.empty()) return {found};
  }
  return {};
}

}  // namespace nerbo
