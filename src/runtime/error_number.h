// The tool's error number: set by the runtime services when an operation
// fails, never reset on success, so it keeps the last failure. Its texts are
// in core/error_text.h.
#pragma once

namespace nerbo {

int ErrorNumber();
void SetErrorNumber(int number);

// Error numbers of the table of texts used by the services.
inline constexpr int kErrNoEntry = 2;       // No such file or directory
inline constexpr int kErrAccess = 5;        // Permission denied
inline constexpr int kErrNoMemory = 8;      // Not enough memory
inline constexpr int kErrInvalid = 19;      // Invalid argument
inline constexpr int kErrExecFormat = 21;   // Exec format error
inline constexpr int kErrRange = 34;        // Result too large
inline constexpr int kErrIo = 40;           // Input/output error
inline constexpr int kErrAgain = 42;        // Resource temporarily unavailable
inline constexpr int kErrNameTooLong = 48;  // Filename too long

// Translates a code of the platform (a Windows system error code on Windows,
// an errno value on Linux) into an error number.
int ErrorNumberFromPlatformCode(unsigned long code);

}  // namespace nerbo
