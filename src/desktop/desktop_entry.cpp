#include "desktop/desktop_entry.h"

#include <cstring>

#include "core/file_types.h"

namespace nerbo {
namespace {

constexpr char kFileFieldCode[] = "%f";
// Characters that make the desktop's command-line parser need a quoted word.
constexpr char kReservedCharacters[] = " \t\n\"'\\><~|&;$*?#()`";
constexpr char kEscapedInQuotes[] = "\"`$\\";

std::string Line(const char* key, const std::string& value) {
  return std::string(key) + "=" + KeyFileString(value) + "\n";
}

// The lines every desktop entry of a kind shares. The tool talks on its
// console and waits for a key at the end, so it runs in a terminal.
std::string KindLines(FileKind kind) {
  return Line("Comment", DescriptionOf(kind)) + Line("MimeType", std::string(MimeTypeOf(kind)) + ";") +
         "Terminal=true\n";
}

}  // namespace

std::string KeyFileString(const std::string& text) {
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
  // The key-file rules apply last: the reader undoes them before it parses
  // the command line.
  return KeyFileString(quoted);
}

std::string ExecLine(const ExecCommand& command) {
  std::string line;
  auto append = [&line](const std::string& word) { line += (line.empty() ? "" : " ") + word; };
  for (const std::string& word : command.before_file) append(ExecWord(word));
  append(kFileFieldCode);
  for (const std::string& word : command.after_file) append(ExecWord(word));
  return line;
}

std::string DesktopEntryText(const DesktopVerb& verb) {
  // Exec goes in as ExecLine gives it, since that escapes each word itself.
  return "[Desktop Entry]\nType=Application\n" + Line("Name", verb.name) + Line("Icon", KindName(verb.kind)) +
         "Exec=" + ExecLine(verb.command) + "\n" + KindLines(verb.kind) +
         // A handler of files, not a program to start from the menu.
         "NoDisplay=true\n";
}

std::string DolphinServiceMenuText(FileKind kind, const std::vector<DesktopVerb>& verbs) {
  std::string actions;
  std::string groups;
  for (const DesktopVerb& verb : verbs) {
    if (verb.kind != kind) continue;
    actions += verb.id + ";";
    groups += "\n[Desktop Action " + verb.id + "]\n" + Line("Name", verb.name) +
              Line("Icon", KindName(kind)) + "Exec=" + ExecLine(verb.command) + "\n";
  }
  // An action runs with the Terminal key of the file's main group.
  return "[Desktop Entry]\nType=Service\nX-KDE-ServiceTypes=KonqPopupMenu/Plugin\nName=Nerbo\n" +
         KindLines(kind) + "Actions=" + actions + "\n" + groups;
}

}  // namespace nerbo
