// The Linux console: the standard streams through stdio, and the key wait at
// the controlling terminal (/dev/tty) in raw mode, its bytes decoded into
// the key events a Windows console would report.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "runtime/console.h"
#include "runtime/portable/locale_charset.h"
#include "runtime/portable/terminal_keys.h"

namespace nerbo {
namespace {

// How long the rest of an escape sequence may take to arrive; an Esc alone
// sends nothing after it.
constexpr int kSequenceTimeoutMs = 50;

class PosixConsole : public Console {
 public:
  PosixConsole() {
    std::setvbuf(stdout, nullptr, isatty(STDOUT_FILENO) ? _IONBF : _IOFBF, 512);
    std::setvbuf(stderr, nullptr, _IONBF, 0);
    // Read from the variables: setlocale would load the locale's data at
    // every start for this one fact.
    utf8_ = LocaleWritesUtf8(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG"));
  }

  ~PosixConsole() override {
    if (tty_ >= 0) close(tty_);
  }

  void WriteOut(const char* text, std::size_t length) override { std::fwrite(text, 1, length, stdout); }
  void WriteErr(const char* text, std::size_t length) override { std::fwrite(text, 1, length, stderr); }
  void Flush() override { std::fflush(nullptr); }

  const char* LightShade() const override { return utf8_ ? "\u2591" : "\xb0"; }

  int ReadInputByte() override {
    int c = std::getc(stdin);
    if (c != EOF) return c;
    return std::ferror(stdin) ? kInputError : kEndOfInput;
  }

  bool InputIsConsole() override { return isatty(STDIN_FILENO) == 1; }

  bool BeginRawInput() override {
    Flush();
    if (tty_ < 0) tty_ = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (tty_ < 0 || tcgetattr(tty_, &saved_) != 0) return false;
    termios raw = saved_;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
    raw.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR | IGNCR | ISTRIP);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    return tcsetattr(tty_, TCSANOW, &raw) == 0;
  }

  bool ReadInputEvent(InputEvent* event) override {
    for (;;) {
      std::size_t length = KeySequenceLength(pending_);
      if (length == 0 && !pending_.empty() && !WaitForMore()) length = pending_.size();
      if (length > 0) {
        *event = DecodeKeySequence(pending_.substr(0, length));
        pending_.erase(0, length);
        return true;
      }
      if (!ReadMore()) return false;
    }
  }

  bool EndRawInput() override { return tcsetattr(tty_, TCSANOW, &saved_) == 0; }

 private:
  bool WaitForMore() {
    pollfd waiting = {tty_, POLLIN, 0};
    return poll(&waiting, 1, kSequenceTimeoutMs) > 0;
  }

  bool ReadMore() {
    char buffer[64];
    ssize_t count;
    do {
      count = read(tty_, buffer, sizeof buffer);
    } while (count < 0 && errno == EINTR);
    if (count <= 0) return false;
    pending_.append(buffer, static_cast<std::size_t>(count));
    return true;
  }

  bool utf8_ = false;
  int tty_ = -1;
  termios saved_{};
  std::string pending_;
};

}  // namespace

std::unique_ptr<Console> MakeSystemConsole() { return std::make_unique<PosixConsole>(); }

}  // namespace nerbo
