#include "runtime/xdg_base_directory.h"

#include "runtime/environment.h"

namespace nerbo {
namespace {

bool IsAbsolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

}  // namespace

std::optional<std::string> XdgBaseDirectory(const char* variable, const char* fallback) {
  std::string value;
  if (LookUpEnvironment(variable, &value) && IsAbsolute(value)) return value;
  std::string home;
  if (!LookUpEnvironment("HOME", &home) || !IsAbsolute(home)) return std::nullopt;
  return home + (home.back() == '/' ? "" : "/") + fallback;
}

}  // namespace nerbo
