// The verbs the Linux desktop offers on class and source files, as the
// registry's context-menu verbs offer them on Windows: their names, the files
// they apply to and the command that carries each out on the clicked file.
#pragma once

#include <string>
#include <vector>

namespace nerbo {

inline constexpr char kClassMimeType[] = "application/x-java";
inline constexpr char kSourceMimeType[] = "text/x-java";
inline constexpr char kArchiveMimeType[] = "application/x-java-archive";

enum class FileKind { kClass, kSource, kArchive };
inline constexpr FileKind kFileKinds[] = {FileKind::kClass, FileKind::kSource, FileKind::kArchive};

// A command line with the clicked file among its words: the words before
// it, the file, the words after it.
struct ExecCommand {
  std::vector<std::string> before_file;
  std::vector<std::string> after_file;
};

struct DesktopVerb {
  std::string id;     // names the verb's files and menu actions: letters, digits and '-'
  std::string name;   // as the menus show it
  std::string entry;  // the id of its desktop entry, without ".desktop"
  FileKind kind;
  ExecCommand command;
};

// Run and Run with args... for class files and for jars; with sources also
// Compile+Run, Compile and, when there is an `editor`, Edit. The first verb of each kind
// is what a double click starts. `tool` is the path the desktop starts the
// tool by.
std::vector<DesktopVerb> DesktopVerbs(const std::string& tool, bool with_sources,
                                      const std::vector<std::string>& editor);

const char* MimeTypeOf(FileKind kind);
// "nerbo-class", "nerbo-source" or "nerbo-archive": the name of the kind's
// icon, which its verbs show in the menus, and of its Dolphin service menu.
const char* KindName(FileKind kind);
// How the file managers describe the kind's files.
const char* DescriptionOf(FileKind kind);
// Whether installing makes the kind's first verb the default application
// only where the user has none: a jar the user opens with a program of
// their choice keeps opening with it.
bool KeepsTheUsersDefault(FileKind kind);

}  // namespace nerbo
