// The files seam: the first-file search of the current directory and the
// existence test of a path.
#pragma once

#include <string>

namespace nerbo {

// Searches the current directory for `pattern` (a bare name; '*' and '?' are
// wildcards; letter case is ignored) and gives the first match's name as
// stored on disk. On Linux, where names differ by case and '*' and '?' are
// ordinary characters, a file with exactly that name wins; otherwise the
// first match is the first in case-insensitive name order, as NTFS returns
// them. False when nothing matches.
bool FindFirstFileName(const std::string& pattern, std::string* found_name);

// True when `path` leads to a file of data: not a directory, nor a device or
// a pipe, which would block or never end when read.
bool IsRegularFile(const std::string& path);

// True when the platform can read the attributes of `path` (a directory
// exists too).
bool PathExists(const std::string& path);

// True when `path` is a file the user may start as a program.
bool IsExecutableFile(const std::string& path);

}  // namespace nerbo
