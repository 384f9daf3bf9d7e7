#include "desktop/desktop_entry.h"

#include <cstring>

#include "core/file_types.h"
#include "core/switches.h"

namespace nerbo {
namespace {

constexpr char kFileFieldCode[] = "%f";
// Characters that make the desktop's command-line parser need a quoted word.
constexpr char kReservedCharacters[] = " \t\n\"'\\><~|&;$*?#()`";
constexpr char kEscapedInQuotes[] = "\"`$\\";

// The key-file rules for string values, applied last: the reader undoes
// them before it parses the command line.
std::string EscapeStringValue(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\r':
        escaped += "\\r";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string List(const std::vector<std::string>& items) {
  std::string list;
  for (const std::string& item : items) list += item + ";";
  return list;
}

ExecCommand ToolCommand(const std::string& tool_path, std::vector<std::string> after_file = {}) {
  return ExecCommand{{tool_path}, std::move(after_file)};
}

}  // namespace

std::string ExecWord(const std::string& word) {
  std::string quoted;
  const bool needs_quotes = word.empty() || word.find_first_of(kReservedCharacters) != std::string::npos;
  if (needs_quotes) quoted += '"';
  for (char c : word) {
    if (needs_quotes && std::strchr(kEscapedInQuotes, c) != nullptr) quoted += '\\';
    quoted += c;
    if (c == '%') quoted += '%';
  }
  if (needs_quotes) quoted += '"';
  return EscapeStringValue(quoted);
}

std::string ExecLine(const ExecCommand& command) {
  std::string line;
  auto append = [&line](const std::string& word) { line += (line.empty() ? "" : " ") + word; };
  for (const std::string& word : command.before_file) append(ExecWord(word));
  append(kFileFieldCode);
  for (const std::string& word : command.after_file) append(ExecWord(word));
  return line;
}

std::string DesktopEntryText(const DesktopEntry& entry) {
  std::string text = "[Desktop Entry]\n";
  text += "Type=Application\n";
  text += "Name=" + EscapeStringValue(entry.name) + "\n";
  text += "Comment=" + EscapeStringValue(entry.comment) + "\n";
  text += "Icon=" + EscapeStringValue(entry.icon) + "\n";
  text += "Exec=" + ExecLine(entry.command) + "\n";
  // The tool talks on its console and waits for a key at the end.
  text += "Terminal=true\n";
  // A handler of files, not a program to start from the menu.
  text += "NoDisplay=true\n";
  text += "MimeType=" + List(entry.mime_types) + "\n";
  std::vector<std::string> ids;
  for (const DesktopAction& action : entry.actions) ids.push_back(action.id);
  text += "Actions=" + List(ids) + "\n";
  for (const DesktopAction& action : entry.actions) {
    text += "\n[Desktop Action " + action.id + "]\n";
    text += "Name=" + EscapeStringValue(action.name) + "\n";
    text += "Exec=" + ExecLine(action.command) + "\n";
  }
  return text;
}

DesktopEntry ClassDesktopEntry(const std::string& tool_path, const std::string& icon) {
  DesktopEntry entry;
  entry.name = "Nerbo";
  entry.comment = kClassDescription;
  entry.icon = icon;
  entry.mime_types = {kClassMimeType};
  entry.command = ToolCommand(tool_path);
  entry.actions = {
      {"Run", kRunVerb, ToolCommand(tool_path)},
      {"RunWithArgs", kRunWithArgsVerb, ToolCommand(tool_path, {kPromptSwitch})},
  };
  return entry;
}

DesktopEntry SourceDesktopEntry(const std::string& tool_path, const std::string& icon,
                                const std::vector<std::string>& editor) {
  DesktopEntry entry;
  entry.name = "Nerbo";
  entry.comment = kSourceDescription;
  entry.icon = icon;
  entry.mime_types = {kSourceMimeType};
  entry.command = ToolCommand(tool_path, {kRunAfterCompileSwitch});
  entry.actions = {
      {"CompileRun", kCompileRunVerb, ToolCommand(tool_path, {kRunAfterCompileSwitch})},
      {"Compile", kCompileVerb, ToolCommand(tool_path)},
  };
  if (!editor.empty()) entry.actions.push_back({"Edit", kEditVerb, ExecCommand{editor, {}}});
  return entry;
}

}  // namespace nerbo
