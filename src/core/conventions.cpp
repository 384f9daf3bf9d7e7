#include "core/conventions.h"

#include "runtime/portable/ascii.h"

namespace nerbo {

// clang-format off
const Conventions kWindowsConventions = {
    "java.exe", "javac.exe", "java", "javac", "exe",  // kit tools and how a tool path is joined
    '\\', ';', "%CLASSPATH%", "CLASSPATH",            // separators and the user's class path
    "classes;", "lib\\classes.zip", 12, 13,           // the kit's classes, the kit tails
    "Nerbo.exe", "/?", nullptr,                       // the usage text
    FolderNaming::kWindows, true,                     // file names, a child's arguments
};

const Conventions kPosixConventions = {
    "java", "javac", "java", "javac", "",
    '/', ':', "$CLASSPATH", "CLASSPATH",
    "classes:", "lib/classes.zip", 8, 9,
    "nerbo", "--help", "--version",
    FolderNaming::kPosix, false,
};
// clang-format on

namespace {

bool BeyondAscii(const std::string& name) {
  for (char c : name) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

}  // namespace

bool SameFileName(const std::string& a, const std::string& b, FolderNaming naming) {
  if (naming == FolderNaming::kPosix) return a == b;
  return BeyondAscii(a) || BeyondAscii(b) || EqualsIgnoreCase(a, b);
}

}  // namespace nerbo
