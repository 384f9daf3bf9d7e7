#include "runtime/portable/path.h"

#include "runtime/portable/ascii.h"

namespace nerbo {

bool IsPathSeparator(char c, FolderNaming naming) {
  return c == '/' || (naming == FolderNaming::kWindows && c == '\\');
}

int DriveNumber(const std::string& drive) { return drive.empty() ? -1 : UpperCase(drive[0]) - 'A'; }

namespace {

bool IsDotOrDotDot(const std::string& text) { return text == "." || text == ".."; }

}  // namespace

PathParts SplitPath(const std::string& path, FolderNaming naming) {
  std::string work = path.substr(0, kSplitInputLimit);
  PathParts parts;

  // A colon in the second position ends the scan: what stands before it is
  // the drive. A colon anywhere else is an ordinary character.
  std::string rest = work;
  if (naming == FolderNaming::kWindows && work.size() >= 2 && work[1] == ':') {
    parts.drive = work.substr(0, 2);
    rest = work.substr(2);
  }

  std::size_t last_separator = rest.find_last_of(naming == FolderNaming::kWindows ? "\\/" : "/");
  std::size_t last_start = last_separator == std::string::npos ? 0 : last_separator + 1;
  std::string directory = rest.substr(0, last_start);
  std::string last = rest.substr(last_start);

  // The extension starts at the last dot of the last component, except that
  // a remainder of "." or ".." is no name at all but part of the directory.
  std::string name;
  std::string extension;
  if (!IsDotOrDotDot(last)) {
    std::size_t dot = last.rfind('.');
    if (dot != std::string::npos) {
      extension = last.substr(dot);
      last.erase(dot);
    }
  }
  if (IsDotOrDotDot(last)) {
    directory += last;
  } else {
    name = last;
  }

  parts.shortened = path.size() > kSplitInputLimit || directory.size() > kPartLimit ||
                    name.size() > kPartLimit || extension.size() > kPartLimit;
  parts.directory = directory.substr(0, kPartLimit);
  parts.name = name.substr(0, kPartLimit);
  parts.extension = extension.substr(0, kPartLimit);
  return parts;
}

std::string MergePath(const std::string& drive, const std::string& directory, const std::string& name,
                      const std::string& extension, char separator) {
  std::string path;
  if (!drive.empty()) {
    path += drive[0];
    path += ':';
  }
  if (!directory.empty()) {
    path += directory;
    if (directory.back() != separator && directory.back() != '/') path += separator;
  }
  path += name;
  if (!extension.empty()) {
    if (extension[0] != '.') path += '.';
    path += extension;
  }
  return path;
}

}  // namespace nerbo
