#include "runtime/argument_vector.h"

#include <optional>

#include "runtime/name_encoding.h"
#include "runtime/portable/command_line.h"
#include "runtime/windows_api.h"

namespace nerbo {
namespace {

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  int length = static_cast<int>(text.size());
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, &utf8[0], size, nullptr, nullptr);
  return utf8;
}

std::vector<std::string> ArgumentsAfterProgramName(const std::string& command_line) {
  return SplitArguments(SkipProgramName(command_line.c_str()));
}

}  // namespace

std::vector<std::string> BuildArgumentVector(int, char**) {
  // The platform call is given 255 bytes, so at most 254 characters.
  char module[255];
  DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
  if (length >= sizeof module) length = sizeof module - 1;
  std::vector<std::string> arguments{std::string(module, length)};
  for (std::string& argument : ArgumentsAfterProgramName(GetCommandLineA())) {
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

bool ArgumentLostCharacters(std::size_t index) {
  // Argument 0 is the module's path, not a part of the command line.
  if (index == 0) return false;
  std::vector<std::string> received = ArgumentsAfterProgramName(GetCommandLineA());
  if (index > received.size()) return false;
  // The wide command line holds every character. Split as UTF-8, whose
  // multi-byte forms hold no blank, tab, quote or backslash, it gives the
  // same arguments in the same places; a look-alike quote or blank in the
  // ANSI line shifts them, and then they differ too.
  std::vector<std::string> whole = ArgumentsAfterProgramName(ToUtf8(GetCommandLineW()));
  if (index > whole.size()) return true;
  std::optional<std::string> exact = NativeNameFromUtf8(whole[index - 1]);
  return !exact || *exact != received[index - 1];
}

}  // namespace nerbo
