// A stand-in for the Explorer in tests under Wine: starts a command that the
// registry holds the way Windows starts a registered command, verbatim, with
// the program file as application name. (Left to find the program in an
// unquoted command line itself, Wine would quote it, and hide the fault of a
// program path with blanks.)
//
//   explorer_standin.exe <program file> <key> <value name> [clicked path]
//
// <key> begins with HKEY_CLASSES_ROOT\, HKEY_CURRENT_USER\ or
// HKEY_LOCAL_MACHINE\, and an empty
// value name is the key's default value. %1 becomes the clicked path and %2
// to %9 nothing, as for a double click. Wide throughout, as the Explorer is,
// so that a clicked path outside the ANSI code page reaches the program's
// wide command line whole. The program runs without a console, so its final
// key wait ends at once. Ends with the program's exit status; 125 when the
// command cannot be read, 126 when the program cannot be started.
#include <cwchar>
#include <string>
#include <utility>

#include "runtime/windows_api.h"

namespace {

bool ReadCommand(const std::wstring& key, const std::wstring& value_name, std::wstring* command) {
  const std::pair<const wchar_t*, HKEY> roots[] = {{L"HKEY_CLASSES_ROOT\\", HKEY_CLASSES_ROOT},
                                                   {L"HKEY_CURRENT_USER\\", HKEY_CURRENT_USER},
                                                   {L"HKEY_LOCAL_MACHINE\\", HKEY_LOCAL_MACHINE}};
  for (const auto& [prefix, root] : roots) {
    if (key.compare(0, std::wcslen(prefix), prefix) != 0) continue;
    wchar_t text[2048];
    DWORD size = sizeof text;
    std::wstring subkey = key.substr(std::wcslen(prefix));
    if (RegGetValueW(root, subkey.c_str(), value_name.empty() ? nullptr : value_name.c_str(), RRF_RT_REG_SZ,
                     nullptr, text, &size) != ERROR_SUCCESS) {
      return false;
    }
    *command = text;
    return true;
  }
  return false;
}

std::wstring FillParameters(std::wstring command, const std::wstring& clicked) {
  for (std::size_t at = command.find(L'%'); at != std::wstring::npos && at + 1 < command.size();
       at = command.find(L'%', at)) {
    wchar_t digit = command[at + 1];
    if (digit < L'1' || digit > L'9') {
      ++at;
      continue;
    }
    std::wstring parameter = digit == L'1' ? clicked : std::wstring();
    command.replace(at, 2, parameter);
    at += parameter.size();
  }
  return command;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fwprintf(stderr, L"usage: explorer_standin <program> <key> <value name> [clicked path]\n");
    return 125;
  }
  std::wstring command;
  if (!ReadCommand(argv[2], argv[3], &command)) return 125;
  std::wstring line = FillParameters(command, argc > 4 ? argv[4] : L"");
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  // The program reads what the user types from the stand-in's own input.
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(argv[1], &line[0], nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr, nullptr, &startup,
                      &process)) {
    return 126;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  return static_cast<int>(status);
}
