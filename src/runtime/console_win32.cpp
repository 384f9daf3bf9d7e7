// The Windows console: the standard streams through the C runtime (text
// mode writes a line feed as CR LF), standard input read untranslated, and
// the key wait on the console input opened by name, so it waits at the
// console even when standard input is redirected.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "runtime/console.h"
#include "runtime/windows_api.h"

namespace nerbo {
namespace {

HANDLE OpenConsoleDevice(const char* name) {
  return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     OPEN_EXISTING, 0, nullptr);
}

class Win32Console : public Console {
 public:
  Win32Console() : input_(OpenConsoleDevice("CONIN$")), screen_(OpenConsoleDevice("CONOUT$")) {
    std::setvbuf(stdout, nullptr, _isatty(_fileno(stdout)) ? _IONBF : _IOFBF, 512);
    std::setvbuf(stderr, nullptr, _IONBF, 0);
    _setmode(_fileno(stdin), _O_BINARY);
    // Read as the console is found; nothing the user sees is changed.
    CONSOLE_SCREEN_BUFFER_INFO info;
    GetConsoleScreenBufferInfo(screen_, &info);
    GetLargestConsoleWindowSize(screen_);
  }

  ~Win32Console() override {
    if (input_ != INVALID_HANDLE_VALUE) CloseHandle(input_);
    if (screen_ != INVALID_HANDLE_VALUE) CloseHandle(screen_);
  }

  void WriteOut(const char* text, std::size_t length) override { std::fwrite(text, 1, length, stdout); }
  void WriteErr(const char* text, std::size_t length) override { std::fwrite(text, 1, length, stderr); }
  void Flush() override { std::fflush(nullptr); }

  const char* LightShade() const override { return "\xb0"; }

  int ReadInputByte() override {
    int c = std::getc(stdin);
    if (c != EOF) return c;
    return std::ferror(stdin) ? kInputError : kEndOfInput;
  }

  bool InputIsConsole() override { return _isatty(_fileno(stdin)) != 0; }

  bool BeginRawInput() override {
    Flush();
    return GetConsoleMode(input_, &saved_mode_) && SetConsoleMode(input_, 0);
  }

  bool ReadInputEvent(InputEvent* event) override {
    INPUT_RECORD record;
    DWORD count = 0;
    if (!ReadConsoleInputA(input_, &record, 1, &count) || count != 1) return false;
    *event = InputEvent{};
    if (record.EventType == KEY_EVENT) {
      event->is_key = true;
      event->key_down = record.Event.KeyEvent.bKeyDown != 0;
      event->virtual_key = record.Event.KeyEvent.wVirtualKeyCode;
      event->modifiers = record.Event.KeyEvent.dwControlKeyState;
    }
    return true;
  }

  bool EndRawInput() override { return SetConsoleMode(input_, saved_mode_) != 0; }

 private:
  HANDLE input_;
  HANDLE screen_;
  DWORD saved_mode_ = 0;
};

}  // namespace

std::unique_ptr<Console> MakeSystemConsole() { return std::make_unique<Win32Console>(); }

}  // namespace nerbo
