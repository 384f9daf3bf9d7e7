#include "runtime/conventions.h"

namespace nerbo {

const Conventions kWindowsConventions = {
    "java.exe", "javac.exe",        "java", "javac", "exe",       '\\', ';',     "%CLASSPATH%", "CLASSPATH",
    "classes;", "lib\\classes.zip", 12,     13,      "Nerbo.exe", "/?", nullptr,
};

const Conventions kPosixConventions = {
    "java",     "javac",           "java", "javac", "",      '/',      ':',         "$CLASSPATH", "CLASSPATH",
    "classes:", "lib/classes.zip", 8,      9,       "nerbo", "--help", "--version",
};

}  // namespace nerbo
