// Every key, value, literal and text of the tool's registry layout, defined
// once and used by the installer, the uninstaller and both launch modes.
#pragma once

#include <optional>
#include <string>

#include "runtime/registry.h"

namespace nerbo {

inline constexpr char kRunValue[] = "Run";
inline constexpr char kCompileValue[] = "Compile";

// Values read back from the registry are read into this many bytes; a larger
// one counts as unreadable.
inline constexpr std::uint32_t kReadLimit = 256;

// Creates or opens HKEY_LOCAL_MACHINE\SOFTWARE\Vesk\Nerbo level by level.
// The results of the calls are not looked at: a key that cannot be opened
// shows later as values that cannot be read.
RegKey OpenSettingsKey(Registry& registry);

// Reads a kit tool path (`Run` or `Compile`), stored without a terminator:
// the text is exactly the bytes returned. Nothing when the value cannot be
// read within kReadLimit bytes.
std::optional<std::string> ReadToolPath(Registry& registry, RegKey settings, const char* value_name);

}  // namespace nerbo
