// Where the verbs go below the user's XDG data directory, and what each file
// holds: a desktop entry per verb (listed under "Open With"), Dolphin service
// menus, Nemo actions and Nautilus scripts (each file manager's context menu).
#pragma once

#include <string>
#include <vector>

#include "desktop/desktop_verbs.h"

namespace nerbo {

inline constexpr char kApplicationsDirectory[] = "applications";

struct DesktopFile {
  std::string path;
  std::string bytes;
  bool executable = false;  // Dolphin and Nautilus ignore the others
};

// The files for `verbs`, with paths below `data_directory`.
std::vector<DesktopFile> VerbFiles(const std::string& data_directory, const std::vector<DesktopVerb>& verbs);

}  // namespace nerbo
