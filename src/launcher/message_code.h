// Message codes: each selects a console message and, when it ends the run,
// becomes the exit status. A mode ends the run by raising one; the single
// handler of the launcher catches it.
#pragma once

namespace nerbo {

inline constexpr int kMsgBanner = 1;
inline constexpr int kMsgInstallHelp = 2;
inline constexpr int kMsgInstalled = 3;
inline constexpr int kMsgCompileMenu = 4;
inline constexpr int kMsgAskArguments = 5;
inline constexpr int kMsgFileNotFound = 6;
inline constexpr int kMsgUnsupportedFile = 7;
inline constexpr int kMsgSpawnFailed = 8;
inline constexpr int kMsgCompileFailed = 10;
inline constexpr int kMsgCompiled = 11;
inline constexpr int kMsgStarting = 12;
inline constexpr int kMsgProgramFailed = 13;
inline constexpr int kMsgProgramDone = 14;
inline constexpr int kMsgUninstallHint = 15;
inline constexpr int kMsgUninstalled = 16;
inline constexpr int kMsgWait = 17;

// What a raise carries: the code alone.
struct MessageCode {
  int code;
};

[[noreturn]] inline void RaiseMessageCode(int code) { throw MessageCode{code}; }

}  // namespace nerbo
