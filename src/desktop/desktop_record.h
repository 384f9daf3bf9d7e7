// The record of what the desktop installation did: the files and
// directories it made and the default applications it replaced.
// Uninstallation works from it alone, so it removes nothing the tool did not
// make.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "desktop/mime_defaults.h"

namespace nerbo {

// Every path is a full one without a line feed.
struct DesktopRecord {
  std::vector<std::string> files;
  std::string mimeapps_path;  // empty: no default was changed
  DefaultsChange defaults;
  // Directories that were made for the files: they go when they are left
  // empty.
  std::vector<std::string> directories;
  // Desktop databases (mimeinfo.cache) that the installation brought into
  // being: they go when they list nothing once the tool's entries are gone.
  std::vector<std::string> caches;
};

std::string DesktopRecordText(const DesktopRecord& record);

// Nothing when `text` is not a record in this format.
std::optional<DesktopRecord> ParseDesktopRecord(const std::string& text);

}  // namespace nerbo
