#include "registration/registry_layout.h"

#include "core/switches.h"
#include "runtime/portable/path.h"

namespace nerbo {
namespace {

// The tool path as a command line's program name. Windows starts a
// registered command with its line unchanged, and the tool's own splitter
// ends an unquoted program name at the first blank or tab: such a path goes
// in double quotes. Any other path stays as it is.
std::string CommandProgram(const std::string& tool_path) {
  if (tool_path.find_first_of(" \t") == std::string::npos) return tool_path;
  return "\"" + tool_path + "\"";
}

// What every verb's command starts with: the program and the file.
std::string CommandPrefix(const std::string& tool_path) { return CommandProgram(tool_path) + " \"%1\" "; }

}  // namespace

std::string UninstallCommand(const std::string& tool_path) {
  return CommandProgram(tool_path) + " " + kUninstallSwitch;
}

std::string ClassIconText(const std::string& tool_path) { return tool_path + ",0"; }

std::string SourceIconText(const std::string& tool_path) { return tool_path + ",1"; }

std::string RunCommand(const std::string& tool_path) {
  return CommandPrefix(tool_path) + "\"%2\" \"%3\" \"%4\" \"%5\" \"%6\" \"%7\" \"%8\" \"%9\"";
}

std::string RunWithArgsCommand(const std::string& tool_path) {
  return CommandPrefix(tool_path) + kPromptSwitch;
}

std::string CompileRunCommand(const std::string& tool_path) {
  return CommandPrefix(tool_path) + kRunAfterCompileSwitch;
}

std::string CompileCommand(const std::string& tool_path) {
  std::string command = CommandPrefix(tool_path);
  command.pop_back();  // the prefix's final blank
  return command;
}

std::string JavaToolPath(const std::string& install_directory, const Conventions& conventions) {
  return MergePath("", install_directory, conventions.java_base, conventions.tool_extension,
                   conventions.dir_separator);
}

std::string CompilerToolPath(const std::string& install_directory, const Conventions& conventions) {
  return MergePath("", install_directory, conventions.javac_base, conventions.tool_extension,
                   conventions.dir_separator);
}

long WriteText(Registry& registry, RegKey key, const char* value_name, const std::string& text) {
  return registry.SetValue(key, value_name, kRegSz, text.c_str(),
                           static_cast<std::uint32_t>(text.size() + 1));
}

long WriteText(Registry& registry, RegKey key, const char* value_name, LayoutText text) {
  return registry.SetValue(key, value_name, kRegSz, text.text, text.size);
}

long WriteToolPath(Registry& registry, RegKey key, const char* value_name, const std::string& path) {
  return registry.SetValue(key, value_name, kRegSz, path.data(), static_cast<std::uint32_t>(path.size()));
}

bool NamesOther(const std::optional<StoredValue>& value, const char* own) {
  return value && value->bytes.size() > 1 && value->Text() != own;
}

std::uint32_t ReadFlagWord(Registry& registry, RegKey settings) {
  unsigned char bytes[4] = {0, 0, 0, 0};
  std::uint32_t size = sizeof bytes;
  if (registry.QueryValue(settings, kUninstallInfoValue, nullptr, bytes, &size) != kRegSuccess) return 0;
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

long WriteFlagWord(Registry& registry, RegKey settings, std::uint32_t flags) {
  const unsigned char bytes[4] = {static_cast<unsigned char>(flags), static_cast<unsigned char>(flags >> 8),
                                  static_cast<unsigned char>(flags >> 16),
                                  static_cast<unsigned char>(flags >> 24)};
  return registry.SetValue(settings, kUninstallInfoValue, kRegDword, bytes, sizeof bytes);
}

}  // namespace nerbo
