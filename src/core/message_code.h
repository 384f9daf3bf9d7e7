// Message codes: each selects a console message and, when it ends the run,
// becomes the exit status (RaiseMessageCode in core/run_context.h). These are
// every exit status the tool has.
#pragma once

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
inline constexpr int kMsgClassFileMisnamed = 25;        // its name is not its class's, or it is a module's
inline constexpr int kMsgJarWithoutMainClass = 26;      // the jar names no class to start: a library
inline constexpr int kMsgJarUnreadable = 27;            // no readable zip archive, or its manifest refused
inline constexpr int kMsgInternalError = 70;            // a failure in the tool itself, as no memory left
inline constexpr int kMsgRegistryUnreadable = 78;       // Linux: the registry file cannot be read

}  // namespace nerbo
