#include "desktop/mime_defaults.h"

#include <algorithm>
#include <cstddef>

namespace nerbo {
namespace {

constexpr char kSectionHeader[] = "[Default Applications]";
constexpr char kBlanks[] = " \t\r";

// The text as lines without their line feeds. Whether the last line had one
// is kept, so that an edit leaves the end of the file as it was.
struct Lines {
  std::vector<std::string> lines;
  bool final_line_feed = true;
};

Lines Split(const std::string& text) {
  Lines split;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      split.lines.push_back(text.substr(start));
      split.final_line_feed = false;
      break;
    }
    split.lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return split;
}

std::string Join(const Lines& split) {
  std::string text;
  for (std::size_t i = 0; i < split.lines.size(); ++i) {
    text += split.lines[i];
    if (i + 1 < split.lines.size() || split.final_line_feed) text += '\n';
  }
  return text;
}

std::string Trim(const std::string& text) {
  std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool IsBlank(const std::string& line) { return Trim(line).empty(); }

// The lines of the section: from the header to the next header or the end.
struct Section {
  std::size_t header = 0;
  std::size_t end = 0;
};

std::optional<Section> FindSection(const std::vector<std::string>& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (Trim(lines[i]) != kSectionHeader) continue;
    Section section{i, i + 1};
    while (section.end < lines.size() && Trim(lines[section.end]).rfind('[', 0) != 0) ++section.end;
    return section;
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<std::string>& lines, const Section& section,
                                   const std::string& key) {
  for (std::size_t i = section.header + 1; i < section.end; ++i) {
    const std::size_t equals = lines[i].find('=');
    if (equals != std::string::npos && Trim(lines[i].substr(0, equals)) == key) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> FindLine(const std::vector<std::string>& lines, const Section& section,
                                    const std::string& line) {
  auto first = lines.begin() + static_cast<std::ptrdiff_t>(section.header + 1);
  auto last = lines.begin() + static_cast<std::ptrdiff_t>(section.end);
  auto found = std::find(first, last, line);
  if (found == last) return std::nullopt;
  return static_cast<std::size_t>(found - lines.begin());
}

void Save(DefaultsChange* change, const std::string& mime_type, const std::optional<std::string>& previous) {
  auto& saved = change->saved;
  auto same_type = [&mime_type](const SavedDefault& entry) { return entry.mime_type == mime_type; };
  saved.erase(std::remove_if(saved.begin(), saved.end(), same_type), saved.end());
  saved.push_back({mime_type, previous});
}

bool IsSaved(const DefaultsChange& change, const std::string& mime_type) {
  return std::any_of(change.saved.begin(), change.saved.end(),
                     [&mime_type](const SavedDefault& entry) { return entry.mime_type == mime_type; });
}

// The line the tool writes for `wanted`.
std::string DefaultLine(const DefaultApplication& wanted) {
  return wanted.mime_type + "=" + wanted.desktop_id + ";";
}

}  // namespace

std::string SetDefaults(const std::optional<std::string>& text, const std::vector<DefaultApplication>& wanted,
                        DefaultsChange* change) {
  if (!text) change->created_file = true;
  Lines split = Split(text.value_or(""));
  std::vector<std::string>& lines = split.lines;
  if (lines.empty()) split.final_line_feed = true;

  std::optional<Section> section = FindSection(lines);
  if (!section) {
    lines.push_back(kSectionHeader);
    change->created_section = true;
    section = FindSection(lines);
  }

  for (const DefaultApplication& application : wanted) {
    const std::string line = DefaultLine(application);
    std::optional<std::size_t> at = FindKey(lines, *section, application.mime_type);
    if (at && lines[*at] == line) {
      // Already the tool's: the record of what it replaced stays, or, when it
      // was lost, the line is at least removed again at uninstallation.
      if (!IsSaved(*change, application.mime_type)) Save(change, application.mime_type, std::nullopt);
    } else if (at && application.only_where_none) {
      continue;
    } else if (at) {
      Save(change, application.mime_type, lines[*at]);
      lines[*at] = line;
    } else {
      Save(change, application.mime_type, std::nullopt);
      // After the section's last entry, before any blank lines that end it.
      std::size_t insert_at = section->end;
      while (insert_at > section->header + 1 && IsBlank(lines[insert_at - 1])) --insert_at;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert_at), line);
      ++section->end;
    }
  }
  return Join(split);
}

std::optional<std::string> RestoreDefaults(const std::string& text,
                                           const std::vector<DefaultApplication>& wanted,
                                           const DefaultsChange& change) {
  Lines split = Split(text);
  std::vector<std::string>& lines = split.lines;
  std::optional<Section> section = FindSection(lines);

  for (const DefaultApplication& application : wanted) {
    if (!section) break;
    auto saved = std::find_if(
        change.saved.begin(), change.saved.end(),
        [&application](const SavedDefault& entry) { return entry.mime_type == application.mime_type; });
    if (saved == change.saved.end()) continue;
    std::optional<std::size_t> at = FindLine(lines, *section, DefaultLine(application));
    if (!at) continue;
    if (saved->previous_line) {
      lines[*at] = *saved->previous_line;
    } else {
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*at));
      --section->end;
    }
  }

  if (section && change.created_section && section->end == section->header + 1) {
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(section->header));
  }
  if (lines.empty() && change.created_file) return std::nullopt;
  return Join(split);
}

}  // namespace nerbo
