#include "desktop/desktop_integration.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "desktop/desktop_files.h"
#include "desktop/desktop_record.h"
#include "desktop/desktop_verbs.h"
#include "desktop/embedded_icons.h"
#include "desktop/mime_defaults.h"
#include "desktop/text_editor.h"
#include "runtime/error_number.h"
#include "runtime/file_store.h"
#include "runtime/run_quietly_posix.h"
#include "runtime/xdg_base_directory.h"

namespace nerbo {
namespace {

namespace fs = std::filesystem;

constexpr char kDesktopSuffix[] = ".desktop";
constexpr char kIconDirectory[] = "icons/hicolor/32x32/apps";
constexpr char kIconCache[] = "icons/hicolor/icon-theme.cache";
constexpr char kDesktopDatabase[] = "mimeinfo.cache";
// What update-desktop-database writes for a directory without handlers.
constexpr char kEmptyDesktopDatabase[] = "[MIME Cache]\n";
constexpr char kToolDirectory[] = "nerbo";
constexpr char kRecordName[] = "desktop-record";
constexpr char kToolLinkName[] = "nerbo";

DesktopResult Failed(const FileResult& failure) {
  DesktopResult result;
  result.done = false;
  result.path = failure.path;
  result.error_number = failure.error_number;
  return result;
}

struct Locations {
  fs::path data;
  fs::path mimeapps;

  fs::path Record() const { return data / kToolDirectory / kRecordName; }
  // The entries start the tool by this link rather than by the program
  // file's own path: below the data directory it holds neither a blank,
  // which xdg-open's generic launcher cannot start, nor a '%', which GLib
  // refuses in a program path.
  fs::path ToolLink() const { return data / kToolDirectory / kToolLinkName; }
  fs::path Applications() const { return data / kApplicationsDirectory; }
  fs::path DesktopDatabase() const { return Applications() / kDesktopDatabase; }
  fs::path Icon(FileKind kind) const {
    return data / kIconDirectory / (std::string(KindName(kind)) + ".png");
  }
};

std::optional<Locations> FindLocations() {
  std::optional<std::string> data = XdgBaseDirectory("XDG_DATA_HOME", ".local/share");
  std::optional<std::string> config = XdgBaseDirectory("XDG_CONFIG_HOME", ".config");
  if (!data || !config) return std::nullopt;
  return Locations{*data, fs::path(*config) / "mimeapps.list"};
}

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(path, error);
}

// Brings the desktop's caches up to date, quietly; a missing tool is no
// failure, since the files written are all most desktops need. GLib finds
// the handlers of a type other than the default only through the desktop
// database, so installation makes one when there is none. An icon cache is
// only brought up to date, never started: a cache that nothing keeps current
// would hide icons other programs install later.
void RefreshCaches(const Locations& locations, bool make_database) {
  if (make_database || Exists(locations.DesktopDatabase())) {
    RunQuietly({"update-desktop-database", "-q", locations.Applications().string()});
  }
  if (Exists(locations.data / kIconCache)) {
    RunQuietly({"gtk-update-icon-cache", "-q", "-t", (locations.data / "icons/hicolor").string()});
  }
}

// What a double click starts: the first verb of each kind.
std::vector<DefaultApplication> Defaults(bool with_sources) {
  std::vector<DefaultApplication> defaults;
  for (const DesktopVerb& verb : DesktopVerbs("", with_sources, {})) {
    const std::string mime_type = MimeTypeOf(verb.kind);
    auto same_type = [&mime_type](const DefaultApplication& known) { return known.mime_type == mime_type; };
    if (std::none_of(defaults.begin(), defaults.end(), same_type))
      defaults.push_back({mime_type, verb.entry + kDesktopSuffix, KeepsTheUsersDefault(verb.kind)});
  }
  return defaults;
}

bool HasLineFeed(const fs::path& path) { return path.string().find('\n') != std::string::npos; }

// The record of an earlier installation; a record that cannot be read is
// never overwritten, so what it says is not lost.
std::optional<DesktopRecord> ReadRecord(const Locations& locations, FileResult* result) {
  std::optional<std::string> text;
  *result = ReadWholeFile(locations.Record(), &text);
  if (!text) return std::nullopt;
  std::optional<DesktopRecord> record = ParseDesktopRecord(*text);
  if (!record) *result = FileResult{false, locations.Record(), kErrInvalid};
  return record;
}

void AddOnce(std::vector<std::string>* list, const std::string& path) {
  if (std::find(list->begin(), list->end(), path) == list->end()) list->push_back(path);
}

// Notes the directories that writing `path` is about to make, outermost
// first.
void NoteNewDirectories(DesktopRecord* record, const fs::path& path) {
  std::vector<fs::path> missing;
  for (fs::path directory = path.parent_path(); !directory.empty() && !Exists(directory);
       directory = directory.parent_path()) {
    missing.push_back(directory);
    if (directory == directory.parent_path()) break;
  }
  for (auto directory = missing.rbegin(); directory != missing.rend(); ++directory) {
    AddOnce(&record->directories, directory->string());
  }
}

// Removes the directories the installation made that are empty by now,
// each before the one that holds it.
void RemoveEmptyDirectories(std::vector<std::string> directories) {
  std::sort(directories.begin(), directories.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  for (const std::string& directory : directories) RemoveDirectoryIfEmpty(directory);
}

}  // namespace

DesktopResult InstallDesktopIntegration(const std::string& tool_path, bool with_sources) {
  std::optional<Locations> locations = FindLocations();
  if (!locations) return Failed({false, "$HOME", kErrNoEntry});
  if (HasLineFeed(locations->data) || HasLineFeed(locations->mimeapps))
    return Failed({false, locations->data, kErrInvalid});

  FileResult result;
  DesktopRecord record = ReadRecord(*locations, &result).value_or(DesktopRecord{});
  if (!result.done) return Failed(result);

  const std::vector<DesktopVerb> verbs =
      DesktopVerbs(locations->ToolLink().string(), with_sources,
                   with_sources ? FindTextEditor() : std::vector<std::string>{});
  std::vector<DesktopFile> files = VerbFiles(locations->data.string(), verbs);
  files.push_back({locations->Icon(FileKind::kClass).string(), ClassIconPng()});
  // Jars show the class files' picture, as on Windows.
  files.push_back({locations->Icon(FileKind::kArchive).string(), ClassIconPng()});
  if (with_sources) files.push_back({locations->Icon(FileKind::kSource).string(), SourceIconPng()});

  // Everything this installation may make goes on record before it is made.
  AddOnce(&record.files, locations->ToolLink().string());
  for (const DesktopFile& file : files) AddOnce(&record.files, file.path);
  for (const std::string& file : record.files) NoteNewDirectories(&record, file);
  NoteNewDirectories(&record, locations->Record());
  NoteNewDirectories(&record, locations->mimeapps);
  const bool make_database = !Exists(locations->DesktopDatabase());
  if (make_database) AddOnce(&record.caches, locations->DesktopDatabase().string());

  // Defaults recorded for another mimeapps.list (the configuration directory
  // moved) say nothing about this one.
  if (record.mimeapps_path != locations->mimeapps.string()) record.defaults = DefaultsChange{};
  record.mimeapps_path = locations->mimeapps.string();
  std::optional<std::string> mimeapps;
  if (!(result = ReadWholeFile(locations->mimeapps, &mimeapps)).done) return Failed(result);
  std::string new_mimeapps = SetDefaults(mimeapps, Defaults(with_sources), &record.defaults);

  // The record goes first: should the installation stop half way, it names
  // more than was done, never less, and removing a missing file is no fault.
  if (!(result = ReplaceFile(locations->Record(), DesktopRecordText(record))).done) return Failed(result);
  if (!(result = ReplaceLink(locations->ToolLink(), tool_path)).done) return Failed(result);
  for (const DesktopFile& file : files) {
    if (!(result = ReplaceFile(file.path, file.bytes, file.executable ? 0755 : 0644)).done)
      return Failed(result);
  }
  if (new_mimeapps != mimeapps.value_or("") || !mimeapps) {
    if (!(result = ReplaceFile(locations->mimeapps, new_mimeapps)).done) return Failed(result);
  }
  RefreshCaches(*locations, make_database);
  return {};
}

DesktopResult UninstallDesktopIntegration() {
  std::optional<Locations> locations = FindLocations();
  if (!locations) return Failed({false, "$HOME", kErrNoEntry});
  FileResult result;
  std::optional<DesktopRecord> record = ReadRecord(*locations, &result);
  if (!result.done) return Failed(result);
  if (!record) return {};

  if (!record->mimeapps_path.empty()) {
    const fs::path mimeapps = record->mimeapps_path;
    std::optional<std::string> text;
    if (!(result = ReadWholeFile(mimeapps, &text)).done) return Failed(result);
    if (text) {
      std::optional<std::string> restored = RestoreDefaults(*text, Defaults(true), record->defaults);
      if (!restored) {
        result = RemoveFile(mimeapps);
      } else if (*restored != *text) {
        result = ReplaceFile(mimeapps, *restored);
      }
      if (!result.done) return Failed(result);
    }
  }
  for (const std::string& file : record->files) {
    if (!(result = RemoveFile(file)).done) return Failed(result);
  }
  RefreshCaches(*locations, false);
  for (const std::string& cache : record->caches) {
    std::optional<std::string> text;
    if (!(result = ReadWholeFile(cache, &text)).done) return Failed(result);
    if (text == std::string(kEmptyDesktopDatabase) && !(result = RemoveFile(cache)).done)
      return Failed(result);
  }
  // The record goes last, so that a removal that stops can be run again.
  if (!(result = RemoveFile(locations->Record())).done) return Failed(result);
  RemoveEmptyDirectories(record->directories);
  // Records of earlier versions name no directory, but the tool's own.
  RemoveDirectoryIfEmpty(locations->Record().parent_path());
  return {};
}

}  // namespace nerbo
