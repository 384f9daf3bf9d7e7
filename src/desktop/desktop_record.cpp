#include "desktop/desktop_record.h"

#include <cstddef>

namespace nerbo {
namespace {

constexpr char kFirstLine[] = "Nerbo desktop record 1";
constexpr char kFileTag[] = "file";
constexpr char kDirectoryTag[] = "directory";
constexpr char kCacheTag[] = "cache";
constexpr char kMimeappsTag[] = "mimeapps";
constexpr char kCreatedFileTag[] = "created-file";
constexpr char kCreatedSectionTag[] = "created-section";
constexpr char kReplacedTag[] = "replaced";  // a MIME type, then the line it had
constexpr char kAddedTag[] = "added";        // a MIME type that had no line

// Splits "tag rest" at the first blank; a lone tag has an empty rest.
void SplitTag(const std::string& line, std::string* tag, std::string* rest) {
  const std::size_t blank = line.find(' ');
  *tag = line.substr(0, blank);
  *rest = blank == std::string::npos ? "" : line.substr(blank + 1);
}

}  // namespace

std::string DesktopRecordText(const DesktopRecord& record) {
  std::string text = std::string(kFirstLine) + "\n";
  auto add_paths = [&text](const char* tag, const std::vector<std::string>& list) {
    for (const std::string& path : list) text += std::string(tag) + " " + path + "\n";
  };
  add_paths(kFileTag, record.files);
  add_paths(kDirectoryTag, record.directories);
  add_paths(kCacheTag, record.caches);
  if (!record.mimeapps_path.empty()) text += std::string(kMimeappsTag) + " " + record.mimeapps_path + "\n";
  if (record.defaults.created_file) text += std::string(kCreatedFileTag) + "\n";
  if (record.defaults.created_section) text += std::string(kCreatedSectionTag) + "\n";
  for (const SavedDefault& saved : record.defaults.saved) {
    if (saved.previous_line) {
      text += std::string(kReplacedTag) + " " + saved.mime_type + " " + *saved.previous_line + "\n";
    } else {
      text += std::string(kAddedTag) + " " + saved.mime_type + "\n";
    }
  }
  return text;
}

std::optional<DesktopRecord> ParseDesktopRecord(const std::string& text) {
  const std::string first = std::string(kFirstLine) + "\n";
  if (text.compare(0, first.size(), first) != 0) return std::nullopt;
  DesktopRecord record;
  std::size_t start = first.size();
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) return std::nullopt;  // cut short
    std::string tag;
    std::string rest;
    SplitTag(text.substr(start, end - start), &tag, &rest);
    start = end + 1;
    if (tag == kFileTag && !rest.empty()) {
      record.files.push_back(rest);
    } else if (tag == kDirectoryTag && !rest.empty()) {
      record.directories.push_back(rest);
    } else if (tag == kCacheTag && !rest.empty()) {
      record.caches.push_back(rest);
    } else if (tag == kMimeappsTag && !rest.empty()) {
      record.mimeapps_path = rest;
    } else if (tag == kCreatedFileTag && rest.empty()) {
      record.defaults.created_file = true;
    } else if (tag == kCreatedSectionTag && rest.empty()) {
      record.defaults.created_section = true;
    } else if (tag == kReplacedTag && rest.find(' ') != std::string::npos) {
      const std::size_t blank = rest.find(' ');
      record.defaults.saved.push_back({rest.substr(0, blank), rest.substr(blank + 1)});
    } else if (tag == kAddedTag && !rest.empty() && rest.find(' ') == std::string::npos) {
      record.defaults.saved.push_back({rest, std::nullopt});
    } else {
      return std::nullopt;
    }
  }
  return record;
}

}  // namespace nerbo
