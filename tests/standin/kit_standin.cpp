// A stand-in for the kit's java.exe and javac.exe in tests under Wine, where
// a Windows program cannot wait for a Linux one: it records how it was
// started and ends as it is told (see standin_log.h).
#include <cstdio>
#include <cstdlib>

#include "runtime/windows_api.h"
#include "standin/standin_log.h"

namespace {

bool ReadVariable(const char* name, std::string* value) {
  char buffer[32768];
  DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
  if (length >= sizeof buffer) return false;
  value->assign(buffer, length);
  return true;
}

// The wide command line holds every character the starter passed, whatever
// this program's code page.
std::string WideToUtf8(const wchar_t* text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return std::string();
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], size, nullptr, nullptr);
  utf8.pop_back();  // the terminator
  return utf8;
}

void AppendRecord(const std::string& log) {
  nerbo::StandinRecord record;
  record.command_line = WideToUtf8(GetCommandLineW());
  char directory[MAX_PATH + 1];
  DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
  if (length < sizeof directory) record.directory.assign(directory, length);
  record.has_classpath = ReadVariable("CLASSPATH", &record.classpath);
  std::string text = nerbo::FormatStandinRecord(record);
  if (std::FILE* file = std::fopen(log.c_str(), "ab")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
}

}  // namespace

int main() {
  std::string value;
  if (ReadVariable(nerbo::kStandinLogVariable, &value)) AppendRecord(value);
  if (ReadVariable(nerbo::kStandinWriteVariable, &value)) {
    if (std::FILE* file = std::fopen(value.c_str(), "wb")) std::fclose(file);
  }
  UINT status = 0;
  if (ReadVariable(nerbo::kStandinStatusVariable, &value)) {
    status = static_cast<UINT>(std::strtoul(value.c_str(), nullptr, 10));
  }
  // ExitProcess carries all 32 bits, -1 included.
  ExitProcess(status);
}
