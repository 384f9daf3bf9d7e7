// Puts key events into the console's input queue, as a person pressing keys
// would, then runs a command line in the same console and exits with its
// status. Lets a console test press keys that a terminal cannot send, such
// as Shift alone, before the program under test reads its input.
//
//   key_queue.exe <keys> <program> [arguments...]
// <keys>: comma-separated virtual-key codes in decimal, each pressed and
// released; "shift" stands for 16 with the Shift modifier down.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/windows_api.h"

namespace {

void Press(HANDLE input, WORD virtual_key, DWORD modifiers) {
  INPUT_RECORD records[2] = {};
  for (int i = 0; i < 2; ++i) {
    records[i].EventType = KEY_EVENT;
    KEY_EVENT_RECORD& key = records[i].Event.KeyEvent;
    key.bKeyDown = i == 0;
    key.wRepeatCount = 1;
    key.wVirtualKeyCode = virtual_key;
    key.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyA(virtual_key, 0));
    key.dwControlKeyState = modifiers;
  }
  DWORD written = 0;
  WriteConsoleInputA(input, records, 2, &written);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: key_queue <keys> <program> [arguments...]\n");
    return 125;
  }
  HANDLE input = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
  if (input == INVALID_HANDLE_VALUE) return 124;
  std::string keys = argv[1];
  for (std::size_t start = 0; start < keys.size();) {
    std::size_t end = keys.find(',', start);
    std::string key = keys.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (key == "shift") {
      Press(input, VK_SHIFT, SHIFT_PRESSED);
    } else {
      Press(input, static_cast<WORD>(std::atoi(key.c_str())), 0);
    }
    start = end == std::string::npos ? keys.size() : end + 1;
  }
  std::string command_line;
  for (int i = 2; i < argc; ++i) command_line += std::string(i > 2 ? " " : "") + argv[i];
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::vector<char> line(command_line.begin(), command_line.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return 123;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  return static_cast<int>(status);
}
