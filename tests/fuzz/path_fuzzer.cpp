// SplitPath keeps every part within its limit, and MergePath of split parts
// gives the path back whenever the directory kept its final separator and
// nothing was cut.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "runtime/portable/path.h"

using nerbo::FolderNaming;
using nerbo::PathParts;

namespace {

void Check(const std::string& path, FolderNaming naming, const char* separators) {
  const PathParts parts = nerbo::SplitPath(path, naming);
  NERBO_FUZZ_CHECK(parts.drive.empty() || (naming == FolderNaming::kWindows && parts.drive.size() == 2));
  NERBO_FUZZ_CHECK(parts.directory.size() <= nerbo::kPartLimit);
  NERBO_FUZZ_CHECK(parts.name.size() <= nerbo::kPartLimit);
  NERBO_FUZZ_CHECK(parts.extension.size() <= nerbo::kPartLimit);
  NERBO_FUZZ_CHECK(parts.name.find_first_of(separators) == std::string::npos);
  NERBO_FUZZ_CHECK(parts.extension.empty() || parts.extension.rfind('.') == 0);
  NERBO_FUZZ_CHECK(parts.extension.find_first_of(separators) == std::string::npos);
  NERBO_FUZZ_CHECK(parts.name != "." && parts.name != "..");

  const std::string merged =
      nerbo::MergePath(parts.drive, parts.directory, parts.name, parts.extension, separators[0]);
  // The room MergePath's callers must give: the parts plus colon, separator,
  // dot and the terminating zero.
  NERBO_FUZZ_CHECK(merged.size() + 1 <= parts.drive.size() + parts.directory.size() + parts.name.size() +
                                            parts.extension.size() + 4);
  const bool whole =
      parts.drive.size() + parts.directory.size() + parts.name.size() + parts.extension.size() == path.size();
  const bool directory_closed =
      parts.directory.empty() || nerbo::IsPathSeparator(parts.directory.back(), naming);
  if (whole && directory_closed) {
    NERBO_FUZZ_CHECK(merged == path);
    const PathParts again = nerbo::SplitPath(merged, naming);
    NERBO_FUZZ_CHECK(again.drive == parts.drive && again.directory == parts.directory &&
                     again.name == parts.name && again.extension == parts.extension);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path(reinterpret_cast<const char*>(data), size);
  Check(path, FolderNaming::kWindows, "\\/");
  Check(path, FolderNaming::kPosix, "/");
  return 0;
}
