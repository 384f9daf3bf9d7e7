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

void AppendRecord(const std::string& log) {
  nerbo::StandinRecord record;
  record.command_line = GetCommandLineA();
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
