// Splitting a path into drive, directory, name and extension, and joining
// such parts back. On Windows a drive is a letter and a colon at the start,
// and backslash and slash both separate components; on Linux a slash alone
// separates them, and there are no drives.
#pragma once

#include <cstddef>
#include <string>

namespace nerbo {

inline constexpr std::size_t kSplitInputLimit = 260;  // characters of a path looked at
inline constexpr std::size_t kPartLimit = 255;        // directory, name, extension

// How a file system names files and folders in a path.
enum class FolderNaming {
  kWindows,  // '\\' and '/' separate; \\server\share is a root; letter case is ignored
  kPosix,    // '/' separates; names compare byte for byte
};

struct PathParts {
  std::string drive;      // "C:" or empty
  std::string directory;  // keeps its trailing separator
  std::string name;
  std::string extension;  // with its leading dot
  // Characters beyond the limits were dropped: the parts may name another
  // file than the path did.
  bool shortened = false;
};

PathParts SplitPath(const std::string& path, FolderNaming naming);

// Joins drive (its first character and a colon), directory (and `separator`
// unless it already ends in it or a slash), name, and extension (with a dot
// unless it has one). Empty parts add nothing.
std::string MergePath(const std::string& drive, const std::string& directory, const std::string& name,
                      const std::string& extension, char separator);

bool IsPathSeparator(char c, FolderNaming naming);

// The number of the drive `drive` ("C:" or "c:") names: 0 for A:, 2 for C:.
int DriveNumber(const std::string& drive);

}  // namespace nerbo
