#include "core/settings_key.h"

namespace nerbo {

std::string StoredValue::Text() const { return bytes.substr(0, bytes.find('\0')); }

std::optional<StoredValue> ReadValue(Registry& registry, RegKey key, const char* value_name) {
  char buffer[kReadLimit];
  std::uint32_t size = sizeof buffer;
  StoredValue value;
  if (registry.QueryValue(key, value_name, &value.type, buffer, &size) != kRegSuccess) return std::nullopt;
  value.bytes.assign(buffer, size);
  return value;
}

RegKey OpenSettingsKeyToRead(Registry& registry, const RegistrationScope& scope) {
  RegKey key = scope.software_root;
  for (const char* level : kSettingsPath) {
    if (registry.OpenKeyToRead(key, level, &key) != kRegSuccess) return 0;
  }
  RegKey settings = 0;
  return registry.OpenKeyToRead(key, kToolKey, &settings) == kRegSuccess ? settings : 0;
}

RegKey OpenSettingsKeyToRead(Registry& registry) {
  RegKey settings = OpenSettingsKeyToRead(registry, kUserScope);
  return settings ? settings : OpenSettingsKeyToRead(registry, kMachineScope);
}

std::optional<std::string> ReadToolPath(Registry& registry, RegKey settings, const char* value_name) {
  std::optional<StoredValue> value = ReadValue(registry, settings, value_name);
  if (!value) return std::nullopt;
  // A writer that stored the terminator too leaves it at the end.
  return value->Text();
}

}  // namespace nerbo
