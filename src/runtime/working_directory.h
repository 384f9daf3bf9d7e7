// The current directory and drive of the process, which child processes
// inherit.
#pragma once

#include <cstddef>
#include <string>

namespace nerbo {

inline constexpr std::size_t kDirectoryBufferSize = 256;

// The current directory as a full path (no final separator but at a root).
// It must be shorter than `buffer_size`: error number 34 when it is exactly
// as long, 8 when it is longer or cannot be read; `directory` is then
// untouched.
bool GetWorkingDirectory(std::string* directory, std::size_t buffer_size = kDirectoryBufferSize);

// 0 on success, -1 with the error number set.
int ChangeDirectory(const std::string& path);

// Makes drive `number` (0 for A:) current at its recorded directory, else its
// root. The number of drives present, or 0 with the error number set.
int SelectDrive(int number);

}  // namespace nerbo
