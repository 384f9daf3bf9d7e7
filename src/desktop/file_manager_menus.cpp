#include "desktop/file_manager_menus.h"

#include "desktop/desktop_entry.h"

namespace nerbo {
namespace {

constexpr char kShellLiteralCharacters[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789/._+-,:@%";

// Nemo reads the words of Exec with the shell's rules, after replacing its
// %-codes: a literal % is written %%.
std::string NemoWord(const std::string& word) {
  std::string doubled;
  for (char c : ShellWord(word)) {
    doubled += c;
    if (c == '%') doubled += '%';
  }
  return doubled;
}

}  // namespace

std::string ShellWord(const std::string& word) {
  if (!word.empty() && word.find_first_not_of(kShellLiteralCharacters) == std::string::npos) return word;
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string NemoActionText(const DesktopVerb& verb) {
  std::string exec;
  for (const std::string& word : verb.command.before_file) exec += NemoWord(word) + " ";
  exec += "%F";  // the selected file's path, quoted by Nemo
  for (const std::string& word : verb.command.after_file) exec += " " + NemoWord(word);
  return "[Nemo Action]\nName=" + KeyFileString(verb.name) + "\nExec=" + KeyFileString(exec) +
         "\nIcon-Name=" + KindName(verb.kind) + "\nSelection=s\nMimetypes=" + MimeTypeOf(verb.kind) +
         ";\nTerminal=true\n";
}

std::string NautilusScriptText(const DesktopVerb& verb, const std::string& entry_path) {
  // Nautilus gives a script the selected files as its arguments, relative to
  // the directory it starts it in, and no terminal.
  return "#!/bin/sh\n# " + verb.name +
         " with Nerbo, on each selected file: the verb's desktop entry starts it in a terminal.\n"
         "for file in \"$@\"; do\n  gio launch " +
         ShellWord(entry_path) + " \"$file\"\ndone\n";
}

}  // namespace nerbo
