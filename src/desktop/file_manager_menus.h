// The context-menu files of the file managers that do not show a desktop
// entry's verbs on a file's menu: Nemo actions and Nautilus scripts. (Dolphin's
// service menus are desktop entries, in desktop_entry.h.)
#pragma once

#include <string>

#include "desktop/desktop_verbs.h"

namespace nerbo {

// `word` as one word of a POSIX shell command line: as it is when it holds
// only characters the shell takes literally, else in single quotes.
std::string ShellWord(const std::string& word);

// The Nemo action of `verb`: shown for one selected file of the verb's kind,
// run in a terminal.
std::string NemoActionText(const DesktopVerb& verb);

// The Nautilus script of `verb`: starts the verb's desktop entry, at
// `entry_path`, on each file it is given, so that the desktop's own launcher
// opens the terminal.
std::string NautilusScriptText(const DesktopVerb& verb, const std::string& entry_path);

}  // namespace nerbo
