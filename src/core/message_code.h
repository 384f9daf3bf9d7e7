// Message codes: each selects a console message and, when it ends the run,
// becomes the exit status. A mode ends the run by raising one; the single
// handler of the launcher catches it. This is every exit status the tool has.
#pragma once

namespace nerbo {

// The message table, codes 1 to 17; those marked "ends" end a run.
inline constexpr int kMsgBanner = 1;          // the banner, first in every run
inline constexpr int kMsgInstallHelp = 2;     // ends: java is not in the working directory, so no installation
inline constexpr int kMsgInstalled = 3;       // installation done (code 15 ends that run)
inline constexpr int kMsgCompileMenu = 4;     // the compile verbs were registered too
inline constexpr int kMsgAskArguments = 5;    // the prompt for the Java program's arguments
inline constexpr int kMsgFileNotFound = 6;    // ends: the clicked file cannot be found
inline constexpr int kMsgUnsupportedFile = 7; // ends: neither a .class nor a .java file
inline constexpr int kMsgSpawnFailed = 8;     // ends: java or javac could not be started
inline constexpr int kMsgCompileFailed = 10;  // ends: javac reported a failure
inline constexpr int kMsgCompiled = 11;       // ends (without a key wait) unless the class runs next
inline constexpr int kMsgStarting = 12;       // the class is about to start
inline constexpr int kMsgProgramFailed = 13;  // ends: the Java program ended with a failure status
inline constexpr int kMsgProgramDone = 14;    // ends: the Java program ended correctly
inline constexpr int kMsgUninstallHint = 15;  // ends: installation done
inline constexpr int kMsgUninstalled = 16;    // ends: uninstallation done
inline constexpr int kMsgWait = 17;           // a child is about to start

// Ends beyond the table: each prints its own line on standard error before
// it is raised, so the end of the run prints nothing more.
inline constexpr int kMsgToolPathTooLong = 18;          // ends: the tool's path does not fit the registry texts; nothing written
inline constexpr int kMsgInstallDirectoryTooLong = 19;  // ends: the working directory does not fit them; nothing written
inline constexpr int kMsgRegistryWriteRefused = 20;     // ends: the registry refused a change installation needs
inline constexpr int kMsgRemovalRefused = 21;           // ends: the registry refused a change uninstallation needs
inline constexpr int kMsgDesktopInstallFailed = 22;     // ends: Linux only, the desktop's files could not be written
inline constexpr int kMsgDesktopRemovalFailed = 23;     // ends: Linux only, the desktop's files could not be removed
inline constexpr int kMsgInternalError = 70;            // ends: a failure inside the tool itself, such as no memory left
inline constexpr int kMsgRegistryUnreadable = 78;       // ends: Linux only, the registry file cannot be read; it is left as it is

// Every code a run can end with, in the order of the README's table.
inline constexpr int kEndingCodes[] = {2, 6, 7, 8, 10, 11, 13, 14, 15, 16, 18, 19, 20, 21, 22, 23, 70, 78};

// What a raise carries: the code alone.
struct MessageCode {
  int code;
};

[[noreturn]] inline void RaiseMessageCode(int code) { throw MessageCode{code}; }

}  // namespace nerbo
