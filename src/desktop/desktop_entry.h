// Desktop entries (the freedesktop .desktop files) that let a file manager
// start the tool on a clicked file, with the verbs of the registry layout as
// the entry's actions.
#pragma once

#include <string>
#include <vector>

namespace nerbo {

// One program word of an Exec line, quoted as the desktop entry format asks
// (a word with a reserved character in double quotes, with " ` $ \ escaped;
// % doubled) and then escaped as a key-file string value.
std::string ExecWord(const std::string& word);

// A command line with the clicked file among its words: the words before
// it, the file, the words after it.
struct ExecCommand {
  std::vector<std::string> before_file;
  std::vector<std::string> after_file;
};

// The command's words, each through ExecWord, with the field code of one
// local file in the file's place.
std::string ExecLine(const ExecCommand& command);

struct DesktopAction {
  std::string id;  // letters, digits and '-' only
  std::string name;
  ExecCommand command;
};

struct DesktopEntry {
  std::string name;
  std::string comment;
  std::string icon;
  std::vector<std::string> mime_types;
  ExecCommand command;  // what a double click starts
  std::vector<DesktopAction> actions;
};

std::string DesktopEntryText(const DesktopEntry& entry);

// The two entries: class files run (or run after asking for arguments);
// sources compile and run (or only compile, or open in `editor`, when
// there is one).
DesktopEntry ClassDesktopEntry(const std::string& tool_path, const std::string& icon);
DesktopEntry SourceDesktopEntry(const std::string& tool_path, const std::string& icon,
                                const std::vector<std::string>& editor);

inline constexpr char kClassMimeType[] = "application/x-java";
inline constexpr char kSourceMimeType[] = "text/x-java";

}  // namespace nerbo
