#include "registration/desktop_integration.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "registration/desktop_entry.h"
#include "registration/desktop_record.h"
#include "registration/embedded_icons.h"
#include "registration/ico_image.h"
#include "registration/mime_defaults.h"
#include "registration/png_writer.h"
#include "registration/text_editor.h"
#include "runtime/error_number.h"

extern char** environ;

namespace nerbo {
namespace {

namespace fs = std::filesystem;

constexpr char kClassEntryName[] = "nerbo-class";
constexpr char kSourceEntryName[] = "nerbo-source";
constexpr char kDesktopSuffix[] = ".desktop";
constexpr char kIconDirectory[] = "icons/hicolor/32x32/apps";
constexpr char kIconCache[] = "icons/hicolor/icon-theme.cache";
constexpr char kRecordPath[] = "nerbo/desktop-record";

// A failure of one path; `code` is an errno value.
struct Failure {
  std::string path;
  int code = 0;
};

DesktopResult Failed(const Failure& failure) {
  DesktopResult result;
  result.done = false;
  result.path = failure.path;
  result.error_number = ErrorNumberFromPlatformCode(static_cast<unsigned long>(failure.code));
  return result;
}

// An XDG base directory: the variable when it holds an absolute path (the
// XDG base-directory rule), else the fallback under $HOME.
std::optional<fs::path> BaseDirectory(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') return fs::path(value);
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') return std::nullopt;
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

// The file's bytes; nothing, with no failure, when it does not exist.
std::optional<std::string> ReadFile(const fs::path& path, std::optional<Failure>* failure) {
  int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    if (errno != ENOENT) *failure = Failure{path, errno};
    return std::nullopt;
  }
  std::string bytes;
  char buffer[4096];
  for (;;) {
    ssize_t count = read(descriptor, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) *failure = Failure{path, errno};
    if (count <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  close(descriptor);
  if (*failure) return std::nullopt;
  return bytes;
}

bool WriteAll(int descriptor, const std::string& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    ssize_t count = write(descriptor, bytes.data() + written, bytes.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    written += static_cast<std::size_t>(count);
  }
  return true;
}

// Writes through a temporary file renamed over the old one, so that a
// user's file is never left half written. A link is followed, so that a
// linked mimeapps.list stays a link; the old file's permissions stay too.
std::optional<Failure> WriteFileReplacing(const fs::path& path, const std::string& bytes) {
  std::error_code error;
  struct stat link_status;
  const bool is_link = lstat(path.c_str(), &link_status) == 0 && S_ISLNK(link_status.st_mode);
  fs::path target = is_link ? fs::canonical(path, error) : path;
  if (error) return Failure{path, error.value()};
  fs::create_directories(target.parent_path(), error);
  if (error) return Failure{target.parent_path(), error.value()};

  fs::path temporary = target;
  temporary += ".nerbo-new";
  int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (descriptor < 0) return Failure{temporary, errno};
  struct stat old_status;
  if (stat(target.c_str(), &old_status) == 0) fchmod(descriptor, old_status.st_mode & 07777);
  bool written = WriteAll(descriptor, bytes) && fsync(descriptor) == 0;
  int code = errno;
  if (close(descriptor) != 0 && written) {
    written = false;
    code = errno;
  }
  if (written && rename(temporary.c_str(), target.c_str()) == 0) return std::nullopt;
  if (written) code = errno;
  unlink(temporary.c_str());
  return Failure{target, code};
}

std::optional<Failure> RemoveFile(const fs::path& path) {
  if (unlink(path.c_str()) == 0 || errno == ENOENT) return std::nullopt;
  return Failure{path, errno};
}

// Runs a cache tool of the desktop, quietly; a missing tool is no failure,
// since the files written are all a desktop needs.
void RefreshWith(const std::vector<std::string>& command) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (int descriptor : {0, 1, 2}) {
    posix_spawn_file_actions_addopen(&actions, descriptor, "/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY, 0);
  }
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}

void RefreshCaches(const Locations& locations) {
  RefreshWith({"update-desktop-database", "-q", locations.applications.string()});
  // An icon cache is only brought up to date, never started: a cache that
  // nothing keeps current would hide icons other programs install later.
  std::error_code error;
  if (fs::exists(locations.data / kIconCache, error)) {
    RefreshWith({"gtk-update-icon-cache", "-q", "-t", (locations.data / "icons/hicolor").string()});
  }
}

std::vector<DefaultApplication> Defaults(bool with_sources) {
  std::vector<DefaultApplication> defaults = {{kClassMimeType, std::string(kClassEntryName) + kDesktopSuffix}};
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
std::optional<DesktopRecord> ReadRecord(const Locations& locations, std::optional<Failure>* failure) {
  std::optional<std::string> text = ReadFile(locations.record, failure);
  if (!text) return std::nullopt;
  std::optional<DesktopRecord> record = ParseDesktopRecord(*text);
  if (!record) *failure = Failure{locations.record, EINVAL};
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
  if (!locations) return Failed({"$HOME", ENOENT});
  if (HasLineFeed(locations->data) || HasLineFeed(locations->mimeapps)) return Failed({locations->data, EINVAL});

  std::optional<Failure> failure;
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
  std::optional<std::string> mimeapps = ReadFile(locations->mimeapps, &failure);
  if (failure) return Failed(*failure);
  std::string new_mimeapps = SetDefaults(mimeapps, Defaults(with_sources), &record.defaults);

  // The record goes first: should the installation stop half way, it names
  // more than was done, never less, and removing a missing file is no fault.
  if ((failure = WriteFileReplacing(locations->record, DesktopRecordText(record)))) return Failed(*failure);
  for (const auto& file : files) {
    if ((failure = WriteFileReplacing(file.first, file.second))) return Failed(*failure);
  }
  if (new_mimeapps != mimeapps.value_or("") || !mimeapps) {
    if ((failure = WriteFileReplacing(locations->mimeapps, new_mimeapps))) return Failed(*failure);
  }
  RefreshCaches(*locations);
  return {};
}

DesktopResult UninstallDesktopIntegration() {
  std::optional<Locations> locations = FindLocations();
  if (!locations) return Failed({"$HOME", ENOENT});
  std::optional<Failure> failure;
  std::optional<DesktopRecord> record = ReadRecord(*locations, &failure);
  if (failure) return Failed(*failure);
  if (!record) return {};

  if (!record->mimeapps_path.empty()) {
    const fs::path mimeapps = record->mimeapps_path;
    std::optional<std::string> text = ReadFile(mimeapps, &failure);
    if (failure) return Failed(*failure);
    if (text) {
      std::optional<std::string> restored = RestoreDefaults(*text, Defaults(true), record->defaults);
      if (!restored) {
        failure = RemoveFile(mimeapps);
      } else if (*restored != *text) {
        failure = WriteFileReplacing(mimeapps, *restored);
      }
      if (failure) return Failed(*failure);
    }
  }
  for (const std::string& file : record->files) {
    if ((failure = RemoveFile(file))) return Failed(*failure);
  }
  // The record goes last, so that a removal that stops can be run again.
  if ((failure = RemoveFile(locations->record))) return Failed(*failure);
  rmdir(locations->record.parent_path().c_str());  // the tool's own directory, when nothing else is in it
  RefreshCaches(*locations);
  return {};
}

}  // namespace nerbo
