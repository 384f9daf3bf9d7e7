// A strict reader of key files (desktop entries, Dolphin service menus, Nemo
// actions) for the tests: it refuses what GLib's reader refuses or the
// desktop entry format forbids, and gives the values unescaped.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace nerbo {

using KeyFileGroup = std::map<std::string, std::string>;
using KeyFile = std::map<std::string, KeyFileGroup>;

// Nothing, with the offending line in *error, when `text` breaks the rules:
// a key before the first group, a group or key given twice, a key of other
// characters than A-Za-z0-9- (and a [locale]), a line neither blank, comment,
// group nor key, an escape other than \s \n \t \r \\ (and \; in lists).
std::optional<KeyFile> ReadKeyFile(const std::string& text, std::string* error);

}  // namespace nerbo
