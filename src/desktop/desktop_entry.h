// Desktop entries (the freedesktop .desktop files): one per verb, which file
// managers list under "Open With" for the verb's files, and the Dolphin
// service menus, which are desktop entries too.
#pragma once

#include <string>
#include <vector>

#include "desktop/desktop_verbs.h"

namespace nerbo {

// `text` as a key-file string value: backslash, line feed, tab and carriage
// return escaped, as every reader of these files undoes it.
std::string KeyFileString(const std::string& text);

// One program word of an Exec line, quoted as the desktop entry format asks
// (a word with a reserved character in double quotes, with " ` $ \ escaped;
// % doubled) and then escaped as a key-file string value.
std::string ExecWord(const std::string& word);

// The command's words, each through ExecWord, with the field code of one
// local file in the file's place.
std::string ExecLine(const ExecCommand& command);

// The verb's entry: a handler of its kind of file that stays out of the
// application menus and runs in a terminal.
std::string DesktopEntryText(const DesktopVerb& verb);

// Dolphin's service menu for the `verbs` of `kind`, each an action on the
// file's context menu.
std::string DolphinServiceMenuText(FileKind kind, const std::vector<DesktopVerb>& verbs);

}  // namespace nerbo
