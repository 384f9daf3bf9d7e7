#include "core/conventions.h"

namespace nerbo {

// clang-format off
const Conventions kWindowsConventions = {
    "java.exe", "javac.exe", "java", "javac", "exe",  // kit tools and how a tool path is joined
    '\\', ';', "%CLASSPATH%", "CLASSPATH",            // separators and the user's class path
    "classes;", "lib\\classes.zip", 12, 13,           // the kit's classes, the kit tails
    "Nerbo.exe", "/?", nullptr,                       // the usage text
    FolderNaming::kWindows,
};

const Conventions kPosixConventions = {
    "java", "javac", "java", "javac", "",
    '/', ':', "$CLASSPATH", "CLASSPATH",
    "classes:", "lib/classes.zip", 8, 9,
    "nerbo", "--help", "--version",
    FolderNaming::kPosix,
};
// clang-format on

}  // namespace nerbo
