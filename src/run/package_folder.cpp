#include "run/package_folder.h"

namespace nerbo {
namespace {

std::size_t EndOfName(const std::string& path, std::size_t position) {
  while (position < path.size() && !IsPathSeparator(path[position], FolderNaming::kWindows)) ++position;
  return position;
}

// Where the folders of a Windows path begin: after the server and share of a
// network path, the root no climb goes above. A drive ("C:") may stay among
// the names: no package component holds a colon.
std::size_t WindowsRootLength(const std::string& path) {
  bool network = path.size() >= 2 && IsPathSeparator(path[0], FolderNaming::kWindows) &&
                 IsPathSeparator(path[1], FolderNaming::kWindows);
  if (!network) return 0;
  std::size_t server_end = EndOfName(path, 2);
  return server_end < path.size() ? EndOfName(path, server_end + 1) : server_end;
}

// The folder names of `directory` below its root, outermost first; empty
// names (a doubled or a trailing separator) are no folders.
std::vector<std::string> FolderNames(const std::string& directory, FolderNaming naming) {
  std::vector<std::string> folders;
  std::string folder;
  std::size_t start = naming == FolderNaming::kWindows ? WindowsRootLength(directory) : 0;
  for (std::size_t i = start; i < directory.size(); ++i) {
    if (!IsPathSeparator(directory[i], naming)) {
      folder += directory[i];
      continue;
    }
    if (!folder.empty()) folders.push_back(folder);
    folder.clear();
  }
  if (!folder.empty()) folders.push_back(folder);
  return folders;
}

}  // namespace

std::vector<std::string> PackageComponents(const std::string& qualified_name, int package_depth) {
  std::vector<std::string> components;
  std::size_t start = 0;
  for (int level = 0; level < package_depth; ++level) {
    std::size_t dot = qualified_name.find('.', start);
    if (dot == std::string::npos) break;
    components.push_back(qualified_name.substr(start, dot - start));
    start = dot + 1;
  }
  return components;
}

bool SitsInPackageFolder(const std::string& directory, const std::vector<std::string>& package,
                         FolderNaming naming) {
  std::vector<std::string> folders = FolderNames(directory, naming);
  if (folders.size() < package.size()) return false;
  std::size_t first = folders.size() - package.size();
  for (std::size_t i = 0; i < package.size(); ++i) {
    // The class file spells the package in UTF-8, the folder name comes in the
    // ANSI code page on Windows: such names pass, and java has the last word.
    if (!SameFileName(folders[first + i], package[i], naming)) return false;
  }
  return true;
}

}  // namespace nerbo
