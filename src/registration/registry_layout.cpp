#include "registration/registry_layout.h"

namespace nerbo {

RegKey OpenSettingsKey(Registry& registry) {
  RegKey software = 0;
  RegKey vendor = 0;
  RegKey settings = 0;
  registry.CreateKey(kLocalMachine, "SOFTWARE", &software, nullptr);
  registry.CreateKey(software, "Vesk", &vendor, nullptr);
  registry.CreateKey(vendor, "Nerbo", &settings, nullptr);
  return settings;
}

std::optional<std::string> ReadToolPath(Registry& registry, RegKey settings, const char* value_name) {
  char buffer[kReadLimit];
  std::uint32_t size = sizeof buffer;
  if (registry.QueryValue(settings, value_name, nullptr, buffer, &size) != kRegSuccess) return std::nullopt;
  std::string text(buffer, size);
  // A writer that stored the terminator too leaves it at the end.
  std::size_t zero = text.find('\0');
  if (zero != std::string::npos) text.erase(zero);
  return text;
}

}  // namespace nerbo
