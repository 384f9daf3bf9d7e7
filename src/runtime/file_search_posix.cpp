#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "runtime/file_search.h"
#include "runtime/portable/ascii.h"
#include "runtime/portable/wildcard_match.h"

namespace nerbo {

// "." and ".." take part like any other entry, as they do in a search on
// Windows outside a drive's root.
bool FindFirstFileName(const std::string& pattern, std::string* found_name) {
  struct stat status;
  if (lstat(pattern.c_str(), &status) == 0) {
    *found_name = pattern;
    return true;
  }
  DIR* directory = opendir(".");
  if (directory == nullptr) return false;
  bool found = false;
  std::string first;
  while (const dirent* entry = readdir(directory)) {
    std::string name = entry->d_name;
    if (!MatchesWildcardIgnoringCase(pattern, name)) continue;
    if (!found || ComesFirstIgnoringCase(name, first)) first = std::move(name);
    found = true;
  }
  closedir(directory);
  if (found) *found_name = first;
  return found;
}

bool PathExists(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0;
}

bool IsRegularFile(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool IsExecutableFile(const std::string& path) {
  return IsRegularFile(path) && access(path.c_str(), X_OK) == 0;
}

}  // namespace nerbo
