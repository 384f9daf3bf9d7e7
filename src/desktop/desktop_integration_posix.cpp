#include "desktop/desktop_integration.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "desktop/desktop_entry.h"
#include "desktop/desktop_record.h"
#include "desktop/embedded_icons.h"
#include "desktop/ico_image.h"
#include "desktop/mime_defaults.h"
#include "desktop/png_writer.h"
#include "desktop/text_editor.h"
#include "runtime/environment.h"
#include "runtime/error_number.h"
#include "runtime/file_store.h"
#include "runtime/spawn.h"

namespace nerbo {
namespace {

namespace fs = std::filesystem;

constexpr char kClassEntryName[] = "nerbo-class";
constexpr char kSourceEntryName[] = "nerbo-source";
constexpr char kDesktopSuffix[] = ".desktop";
constexpr char kIconDirectory[] = "icons/hicolor/32x32/apps";
constexpr char kIconCache[] = "icons/hicolor/icon-theme.cache";
constexpr char kRecordPath[] = "nerbo/desktop-record";

DesktopResult Failed(const FileFailure& failure) {
  DesktopResult result;
  result.done = false;
  result.path = failure.path;
  result.error_number = failure.error_number;
  return result;
}

// An XDG base directory: the variable when it holds an absolute path (the
// XDG base-directory rule), else the fallback under $HOME.
std::optional<fs::path> BaseDirectory(const char* variable, const char* fallback) {
  std::string value;
  if (LookUpEnvironment(variable, &value) && !value.empty() && value[0] == '/') return fs::path(value);
  std::string home;
  if (!LookUpEnvironment("HOME", &home) || home.empty() || home[0] != '/') return std::nullopt;
  return fs::path(home) / fallback;
}

struct Locations {
  fs::path data;
  fs::path mimeapps;
  fs::path record;
  fs::path applications;

  fs::path Entry(const char* name) const { return applications / (std::string(name) + kDesktopSuffix); }
  fs::path Icon(const char* name) const { return data / kIconDirectory / (std::string(name) + ".png"); }
};

std::optional<Locations> FindLocations() {
  std::optional<fs::path> data = BaseDirectory("XDG_DATA_HOME", ".local/share");
  std::optional<fs::path> config = BaseDirectory("XDG_CONFIG_HOME", ".config");
  if (!data || !config) return std::nullopt;
  return Locations{*data, *config / "mimeapps.list", *data / kRecordPath, *data / "applications"};
}

// Brings the desktop's caches up to date, quietly; a missing tool is no
// failure, since the files written are all a desktop needs.
void RefreshCaches(const Locations& locations) {
  RunQuietly({"update-desktop-database", "-q", locations.applications.string()});
  // An icon cache is only brought up to date, never started: a cache that
  // nothing keeps current would hide icons other programs install later.
  std::error_code error;
  if (fs::exists(locations.data / kIconCache, error)) {
    RunQuietly({"gtk-update-icon-cache", "-q", "-t", (locations.data / "icons/hicolor").string()});
  }
}

std::vector<DefaultApplication> Defaults(bool with_sources) {
  std::vector<DefaultApplication> defaults = {
      {kClassMimeType, std::string(kClassEntryName) + kDesktopSuffix}};
  if (with_sources) defaults.push_back({kSourceMimeType, std::string(kSourceEntryName) + kDesktopSuffix});
  return defaults;
}

std::string IconPng(const std::string& ico) {
  RgbaImage image;
  ReadIcoImage(ico, &image);  // the pictures are built in; their reading is tested
  return WritePng(image);
}

bool HasLineFeed(const fs::path& path) { return path.string().find('\n') != std::string::npos; }

// The record of an earlier installation; a record that cannot be read is
// never overwritten, so what it says is not lost.
std::optional<DesktopRecord> ReadRecord(const Locations& locations, std::optional<FileFailure>* failure) {
  std::optional<std::string> text = ReadWholeFile(locations.record, failure);
  if (!text) return std::nullopt;
  std::optional<DesktopRecord> record = ParseDesktopRecord(*text);
  if (!record) *failure = FileFailure{locations.record, kErrInvalid};
  return record;
}

void AddFile(DesktopRecord* record, const fs::path& path) {
  for (const std::string& file : record->files) {
    if (file == path.string()) return;
  }
  record->files.push_back(path.string());
}

}  // namespace

DesktopResult InstallDesktopIntegration(const std::string& tool_path, bool with_sources) {
  std::optional<Locations> locations = FindLocations();
  if (!locations) return Failed({"$HOME", kErrNoEntry});
  if (HasLineFeed(locations->data) || HasLineFeed(locations->mimeapps))
    return Failed({locations->data, kErrInvalid});

  std::optional<FileFailure> failure;
  DesktopRecord record = ReadRecord(*locations, &failure).value_or(DesktopRecord{});
  if (failure) return Failed(*failure);

  // Each file with its contents, written once the record names them all.
  std::vector<std::pair<fs::path, std::string>> files = {
      {locations->Icon(kClassEntryName), IconPng(ClassIconFile())},
      {locations->Entry(kClassEntryName), DesktopEntryText(ClassDesktopEntry(tool_path, kClassEntryName))},
  };
  if (with_sources) {
    files.emplace_back(locations->Icon(kSourceEntryName), IconPng(SourceIconFile()));
    files.emplace_back(locations->Entry(kSourceEntryName),
                       DesktopEntryText(SourceDesktopEntry(tool_path, kSourceEntryName, FindTextEditor())));
  }
  for (const auto& file : files) AddFile(&record, file.first);

  // Defaults recorded for another mimeapps.list (the configuration directory
  // moved) say nothing about this one.
  if (record.mimeapps_path != locations->mimeapps.string()) record.defaults = DefaultsChange{};
  record.mimeapps_path = locations->mimeapps.string();
  std::optional<std::string> mimeapps = ReadWholeFile(locations->mimeapps, &failure);
  if (failure) return Failed(*failure);
  std::string new_mimeapps = SetDefaults(mimeapps, Defaults(with_sources), &record.defaults);

  // The record goes first: should the installation stop half way, it names
  // more than was done, never less, and removing a missing file is no fault.
  if ((failure = ReplaceFile(locations->record, DesktopRecordText(record)))) return Failed(*failure);
  for (const auto& file : files) {
    if ((failure = ReplaceFile(file.first, file.second))) return Failed(*failure);
  }
  if (new_mimeapps != mimeapps.value_or("") || !mimeapps) {
    if ((failure = ReplaceFile(locations->mimeapps, new_mimeapps))) return Failed(*failure);
  }
  RefreshCaches(*locations);
  return {};
}

DesktopResult UninstallDesktopIntegration() {
  std::optional<Locations> locations = FindLocations();
  if (!locations) return Failed({"$HOME", kErrNoEntry});
  std::optional<FileFailure> failure;
  std::optional<DesktopRecord> record = ReadRecord(*locations, &failure);
  if (failure) return Failed(*failure);
  if (!record) return {};

  if (!record->mimeapps_path.empty()) {
    const fs::path mimeapps = record->mimeapps_path;
    std::optional<std::string> text = ReadWholeFile(mimeapps, &failure);
    if (failure) return Failed(*failure);
    if (text) {
      std::optional<std::string> restored = RestoreDefaults(*text, Defaults(true), record->defaults);
      if (!restored) {
        failure = RemoveFile(mimeapps);
      } else if (*restored != *text) {
        failure = ReplaceFile(mimeapps, *restored);
      }
      if (failure) return Failed(*failure);
    }
  }
  for (const std::string& file : record->files) {
    if ((failure = RemoveFile(file))) return Failed(*failure);
  }
  // The record goes last, so that a removal that stops can be run again.
  if ((failure = RemoveFile(locations->record))) return Failed(*failure);
  RemoveDirectoryIfEmpty(locations->record.parent_path());  // the tool's own directory
  RefreshCaches(*locations);
  return {};
}

}  // namespace nerbo
