// What differs between the Windows tool and its Linux build in the texts the
// tool builds and reads: kit tool names, separators, the reference to the
// user's class path, the kit tail cut from a tool path, how the usage text is
// asked for and names the program, and how folders are named. Both sets are
// always compiled, so either can be tested on any machine.
#pragma once

#include <cstddef>
#include <string>

#include "runtime/portable/path.h"

namespace nerbo {

struct Conventions {
  const char* java_tool;        // "java.exe"
  const char* javac_tool;       // "javac.exe"
  const char* java_base;        // "java", joined with tool_extension
  const char* javac_base;       // "javac"
  const char* tool_extension;   // "exe"; empty where tools have none
  char dir_separator;           // separator put into built paths
  char list_separator;          // between class-path entries
  const char* classpath_ref;    // how a command line names the user's class path
  const char* classpath_var;    // the environment variable it names
  const char* kit_classes;      // "classes;" appended where the kit tail was cut
  const char* kit_classes_zip;  // "lib\\classes.zip"
  std::size_t java_tail;        // length of "bin\\java.exe"
  std::size_t javac_tail;       // length of "bin\\javac.exe"
  const char* program_name;     // "Nerbo.exe", as the usage text names the tool
  const char* help_switch;      // "/?": alone, prints the usage text
  const char* version_switch;   // alone, prints the version; null where there is none
  FolderNaming folder_naming;   // how the file system names the folders a package lives in
  // A child gets one command line that it splits itself (Windows), or the
  // argument vector the tool gives it (Linux).
  bool one_command_line;
};

extern const Conventions kWindowsConventions;
extern const Conventions kPosixConventions;

// Whether two names in one folder name the same file, as the file system
// compares them: ignoring ASCII letter case on Windows, byte for byte on
// Linux. On Windows a name that comes in the ANSI code page and one spelt in
// UTF-8 cannot be judged if either holds letters beyond ASCII: they pass.
bool SameFileName(const std::string& a, const std::string& b, FolderNaming naming);

// The conventions of the platform this build runs on.
const Conventions& HostConventions();

}  // namespace nerbo
