// The user's default applications (the [Default Applications] section of
// mimeapps.list): setting the tool's entries with the fewest changes to the
// text, and putting back, byte for byte, the lines they replaced.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace nerbo {

// One default the tool set: the MIME type, the line it replaced (nothing when
// the type had no line in the section) and the line it wrote.
struct SavedDefault {
  std::string mime_type;
  std::optional<std::string> previous_line;
};

// What undoing the change needs besides the saved lines: whether the tool
// wrote the section header, or the whole file.
struct DefaultsChange {
  std::vector<SavedDefault> saved;
  bool created_section = false;
  bool created_file = false;
};

struct DefaultApplication {
  std::string mime_type;
  std::string desktop_id;        // "name.desktop"
  bool only_where_none = false;  // a line the type already has stays
};

// Makes each of `wanted` the default of its type in `text` (nothing: no file
// yet) and gives the new text. A line that already names the tool's entry is
// left alone and saves nothing, so installing twice keeps the first
// installation's record.
std::string SetDefaults(const std::optional<std::string>& text, const std::vector<DefaultApplication>& wanted,
                        DefaultsChange* change);

// Undoes `change` in `text`: each line the tool wrote that is still there
// becomes the saved line again (or goes, when there was none); a type whose
// line has since been changed keeps its new default. The header the tool
// wrote goes when its section is left empty. Nothing: the file the tool
// created is left empty, so it goes too.
std::optional<std::string> RestoreDefaults(const std::string& text,
                                           const std::vector<DefaultApplication>& wanted,
                                           const DefaultsChange& change);

}  // namespace nerbo
