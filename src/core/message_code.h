// Message codes: each selects a console message and, when it ends the run,
// becomes the exit status. A mode ends the run by raising one; the single
// handler of the launcher ends the run with it. This is every exit status the
// tool has.
#pragma once

#include <functional>

namespace nerbo {

// Ends without a message or a key wait: the usage text or the version was
// asked for.
inline constexpr int kMsgUsage = 0;

// The message table, codes 1 to 17. Those that end a run say so.
inline constexpr int kMsgBanner = 1;           // the banner, first in every run
inline constexpr int kMsgInstallHelp = 2;      // ends: java is not in the working directory
inline constexpr int kMsgInstalled = 3;        // installation done (15 then ends the run)
inline constexpr int kMsgCompileMenu = 4;      // the compile verbs were registered too
inline constexpr int kMsgAskArguments = 5;     // the prompt for the Java program's arguments
inline constexpr int kMsgFileNotFound = 6;     // ends: the clicked file cannot be found
inline constexpr int kMsgUnsupportedFile = 7;  // ends: neither a .class nor a .java file
inline constexpr int kMsgSpawnFailed = 8;      // ends: java or javac could not be started
inline constexpr int kMsgCompileFailed = 10;   // ends: javac reported a failure
inline constexpr int kMsgCompiled = 11;        // ends without a key wait, unless the class runs next
inline constexpr int kMsgStarting = 12;        // the class is about to start
inline constexpr int kMsgProgramFailed = 13;   // ends: the Java program ended with a failure status
inline constexpr int kMsgProgramDone = 14;     // ends: the Java program ended correctly
inline constexpr int kMsgUninstallHint = 15;   // ends: installation done
inline constexpr int kMsgUninstalled = 16;     // ends: uninstallation done
inline constexpr int kMsgWait = 17;            // a child is about to start

// Ends beyond the table: each prints its own line on standard error before
// it is raised, so the end of the run prints nothing more.
inline constexpr int kMsgToolPathTooLong = 18;          // the tool's path does not fit: nothing written
inline constexpr int kMsgInstallDirectoryTooLong = 19;  // the directory does not fit: nothing written
inline constexpr int kMsgRegistryWriteRefused = 20;     // the registry refused a change installing needs
inline constexpr int kMsgRemovalRefused = 21;           // the registry refused a change uninstalling needs
inline constexpr int kMsgDesktopInstallFailed = 22;     // Linux: the desktop's files could not be written
inline constexpr int kMsgDesktopRemovalFailed = 23;     // Linux: the desktop's files could not be removed
inline constexpr int kMsgClassOutsidePackage = 24;      // the class file is not in its package's folder
inline constexpr int kMsgInternalError = 70;            // a failure in the tool itself, as no memory left
inline constexpr int kMsgRegistryUnreadable = 78;       // Linux: the registry file cannot be read

// Every code a run can end with, in the order of the README's table.
inline constexpr int kEndingCodes[] = {0,  2,  6,  7,  8,  10, 11, 13, 14, 15,
                                       16, 18, 19, 20, 21, 22, 23, 24, 70, 78};

// What a raise carries: the code alone.
struct MessageCode {
  int code;
};

// Where a raised code goes. Without an ending set, a raise throws the code as
// a MessageCode for the caller to catch (the tests catch it). The program sets
// an ending that finishes the run where the code is raised, so that a run
// never throws: in the static program the first throw costs more than all the
// rest of its start. The ending must not return.
using CodeEnding = std::function<void(int code)>;
void SetCodeEnding(CodeEnding ending);

// Ends the run with `code`: through the ending when one is set (taken away
// first, so that a raise while ending throws), else by throwing.
[[noreturn]] void RaiseMessageCode(int code);

// Ends the run with `code` by unwinding the stack to the handler even when an
// ending is set: for a raise from inside a service's call (a registry
// callback), whose frames must be left before the run ends.
[[noreturn]] inline void UnwindWithMessageCode(int code) { throw MessageCode{code}; }

}  // namespace nerbo
