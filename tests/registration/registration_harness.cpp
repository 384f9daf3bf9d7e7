#include "registration/registration_harness.h"

#include "registration/installer.h"
#include "registration/uninstaller.h"
#include "runtime/working_directory.h"
#include "support/process_end.h"
#include "support/registry_dump.h"

namespace nerbo {
namespace {

SpawnResult NoChild(const std::string&, const std::vector<std::string>&) { return SpawnResult{}; }

}  // namespace

std::string Sz(const std::string& text) { return std::string(text.c_str(), text.size() + 1); }

std::string Dword(std::uint32_t value) {
  const char bytes[4] = {static_cast<char>(value), static_cast<char>(value >> 8),
                         static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
  return std::string(bytes, 4);
}

RegistrationTest::RegistrationTest() : instance_(GetParam().open()) {
  GetWorkingDirectory(&directory_, 4096);
}

void RegistrationTest::PutKit(bool with_javac) {
  temp_.Touch(HostConventions().java_tool);
  if (with_javac) temp_.Touch(HostConventions().javac_tool);
}

std::string RegistrationTest::KitPath(const char* tool) const {
  return directory_ + HostConventions().dir_separator + tool;
}

int RegistrationTest::Install(Registry& registry, const std::string& tool_path) {
  return RunOn(registry, tool_path, true);
}

int RegistrationTest::Uninstall(Registry& registry) { return RunOn(registry, kToolPath, false); }

int RegistrationTest::RunOn(Registry& registry, const std::string& tool_path, bool install) {
  console_.out.clear();
  console_.err.clear();
  RunContext context(registry, console_, HostConventions(), NoChild);
  context.arguments = {tool_path};
  return RunModeToStatus(context, install ? nerbo::Install : nerbo::Uninstall);
}

void SeedKeyIn(Registry& registry, RegKey root, const std::string& path) {
  RegKey key = 0;
  ASSERT_EQ(registry.CreateKey(root, path.c_str(), &key, nullptr), kRegSuccess) << path;
}

void SeedIn(Registry& registry, RegKey root, const std::string& path, const char* value,
            const std::string& bytes, std::uint32_t type) {
  RegKey key = 0;
  ASSERT_EQ(registry.CreateKey(root, path.c_str(), &key, nullptr), kRegSuccess) << path;
  ASSERT_EQ(registry.SetValue(key, value, type, bytes.data(), static_cast<std::uint32_t>(bytes.size())),
            kRegSuccess);
}

std::optional<StoredValue> RegistrationTest::Value(RegKey root, const std::string& path, const char* value) {
  RegKey key = 0;
  if (registry().OpenKey(root, path.c_str(), &key) != kRegSuccess) return std::nullopt;
  StoredValue stored;
  char buffer[4096];
  std::uint32_t size = sizeof buffer;
  if (registry().QueryValue(key, value, &stored.type, buffer, &size) != kRegSuccess) return std::nullopt;
  stored.bytes.assign(buffer, size);
  return stored;
}

bool RegistrationTest::Exists(RegKey root, const std::string& path) {
  RegKey key = 0;
  return registry().OpenKey(root, path.c_str(), &key) == kRegSuccess;
}

std::string RegistrationTest::Dump() { return DumpRegistry(registry()); }

}  // namespace nerbo
