// The record of what the desktop installation did: the files it wrote and
// the default applications it replaced. Uninstallation works from it alone,
// so it removes nothing the tool did not write.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "desktop/mime_defaults.h"

namespace nerbo {

struct DesktopRecord {
  std::vector<std::string> files;  // full paths, none holding a line feed
  std::string mimeapps_path;       // empty: no default was changed
  DefaultsChange defaults;
};

std::string DesktopRecordText(const DesktopRecord& record);

// Nothing when `text` is not a record in this format.
std::optional<DesktopRecord> ParseDesktopRecord(const std::string& text);

}  // namespace nerbo
