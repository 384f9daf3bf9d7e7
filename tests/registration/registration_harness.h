// A test harness for the installer and the uninstaller: a registry backend
// that can be dumped whole, a scoped working directory holding the kit
// tools, a recording console, and helpers to seed and probe keys by path.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/run_context.h"
#include "registration/registry_layout.h"
#include "registry/registry_backends.h"
#include "support/recording_console.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {

// A tool path with blanks, so that every command shows it quoted and every
// icon text shows it bare.
inline constexpr char kToolPath[] = "C:\\Program Files\\jdk 1.1\\bin\\Nerbo.exe";
// The tool path as the commands name their program.
inline constexpr char kToolCommand[] = "\"C:\\Program Files\\jdk 1.1\\bin\\Nerbo.exe\"";

// A REG_SZ's bytes as the layout writes a text: with its terminator.
std::string Sz(const std::string& text);
// A REG_DWORD's bytes.
std::string Dword(std::uint32_t value);

// Writes a value at a backslash path below a root, creating the keys.
void SeedIn(Registry& registry, RegKey root, const std::string& path, const char* value,
            const std::string& bytes, std::uint32_t type = kRegSz);
void SeedKeyIn(Registry& registry, RegKey root, const std::string& path);

class RegistrationTest : public testing::TestWithParam<RegistryBackend> {
 protected:
  RegistrationTest();

  // Creates the kit tools in the working directory, by this platform's names.
  void PutKit(bool with_javac = true);
  // The full path of a kit tool as the installer must record it.
  std::string KitPath(const char* tool) const;

  // Run a mode and give the code it ended with; the console is emptied first.
  int Install(const std::string& tool_path = kToolPath) { return Run(tool_path, true); }
  int Uninstall() { return Run(kToolPath, false); }
  int Install(Registry& registry, const std::string& tool_path = kToolPath);
  int Uninstall(Registry& registry);

  // Keys by backslash path below a root; keys are created on the way.
  void Seed(RegKey root, const std::string& path, const char* value, const std::string& bytes,
            std::uint32_t type = kRegSz) {
    SeedIn(registry(), root, path, value, bytes, type);
  }
  void SeedKey(RegKey root, const std::string& path) { SeedKeyIn(registry(), root, path); }
  std::optional<StoredValue> Value(RegKey root, const std::string& path, const char* value);
  // A value's bytes, or nothing when it is missing: a check compares them
  // with what it expects and fails cleanly instead of reading an empty value.
  std::optional<std::string> Bytes(RegKey root, const std::string& path, const char* value) {
    std::optional<StoredValue> stored = Value(root, path, value);
    if (!stored) return std::nullopt;
    return stored->bytes;
  }
  bool Exists(RegKey root, const std::string& path);
  std::string Dump();

  Registry& registry() { return *instance_.registry; }
  // A fresh registry of the same backend, for a table run within one test.
  void ResetRegistry() { instance_ = GetParam().open(); }

  ScopedTempDir temp_;
  ScopedCurrentDirectory in_temp_{temp_.path()};
  std::string directory_;  // the working directory as the tool reads it
  RegistryUnderTest instance_;
  RecordingConsole console_;

 private:
  int Run(const std::string& tool_path, bool install) { return RunOn(registry(), tool_path, install); }
  int RunOn(Registry& registry, const std::string& tool_path, bool install);
};

}  // namespace nerbo
