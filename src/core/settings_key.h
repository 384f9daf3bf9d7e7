// The settings key that installation writes and both launch modes read:
// SOFTWARE\Vesk\Nerbo below the root of its scope (HKEY_LOCAL_MACHINE, or
// HKEY_CURRENT_USER for a registration of one user) with the kit tools' full
// paths in `Run` (java) and `Compile` (javac), stored without a terminator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/registration_scope.h"
#include "registry/registry.h"

namespace nerbo {

// Key paths, one level per element, each level relative to the previous one;
// the first below the scope's software root.
inline constexpr const char* kSettingsPath[] = {"SOFTWARE", "Vesk"};
// The last level of both the uninstall key and the settings key.
inline constexpr char kToolKey[] = "Nerbo";

inline constexpr char kRunValue[] = "Run";
inline constexpr char kCompileValue[] = "Compile";

// Values read back from the registry are read into this many bytes; a larger
// one counts as unreadable.
inline constexpr std::uint32_t kReadLimit = 256;

// A value as read within kReadLimit bytes: its type and exact bytes.
struct StoredValue {
  std::uint32_t type = kRegNone;
  std::string bytes;

  // The text the bytes hold: up to the first zero, or all of them.
  std::string Text() const;
};

// Nothing when the value is missing or larger than kReadLimit.
std::optional<StoredValue> ReadValue(Registry& registry, RegKey key, const char* value_name);

// Opens the settings key of `scope` for reading, as class runs and compiles
// need it: they never write, so a user without the right to change
// HKEY_LOCAL_MACHINE can run them. 0 when it cannot be opened.
RegKey OpenSettingsKeyToRead(Registry& registry, const RegistrationScope& scope);

// The current user's settings key when there is one, else the machine's: a
// registration for the user wins for that user, as it does in the Explorer.
// The result is not looked at: a key that cannot be opened shows later as
// values that cannot be read.
RegKey OpenSettingsKeyToRead(Registry& registry);

// Reads a kit tool path (`Run` or `Compile`), stored without a terminator:
// the text is exactly the bytes returned. Nothing when the value cannot be
// read within kReadLimit bytes.
std::optional<std::string> ReadToolPath(Registry& registry, RegKey settings, const char* value_name);

}  // namespace nerbo
