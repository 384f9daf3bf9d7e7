// Files the tool keeps on Linux (the registry file, the desktop's entries and
// records): whole reads, and writes that replace a file in one step, so that
// a crash leaves the old or the new contents and never a torn file. New files
// and directories get the modes asked for, less the user's umask.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace nerbo {

// What a file service did: done, or the path it could not read, write or
// remove, with the tool's error number.
struct FileResult {
  bool done = true;
  std::string path;
  int error_number = 0;
};

// Reads the whole of `path` into *bytes; *bytes is nothing when there is no
// such file, which is no failure.
FileResult ReadWholeFile(const std::string& path, std::optional<std::string>* bytes);

// Bytes read from a file, into memory the system hands over with its pages
// in place: for a file of a megabyte, a page fault per page of a new buffer
// costs a run more than the read itself.
class FileBytes {
 public:
  FileBytes() = default;
  ~FileBytes() { Clear(); }
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;

  // Replaces the bytes with those from the open file's offset to its end, in
  // one read when the file has not grown since it was opened. False on a
  // read error (errno says which).
  bool ReadToEnd(int fd);
  std::string_view view() const { return std::string_view(bytes_, size_); }
  void Clear();

 private:
  // Moves the bytes read so far to new memory of `capacity` bytes.
  bool Grow(std::size_t capacity);

  char* bytes_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// The file a write to `path` replaces: the target of a symbolic link
// (followed to its end, and where a dangling one points), else `path`
// itself; nothing when a link cannot be followed.
std::optional<std::string> ReplacedFile(const std::string& path);

// Writes `bytes` to a new file of a name no other writer uses, beside `path`,
// syncs it, renames it over `path` and syncs the directory. A symbolic link
// at `path` stays a link and its target is replaced; the permission bits of
// the file replaced are kept, and a new file gets `new_file_mode`. Missing
// directories are made (private to the user).
FileResult ReplaceFile(const std::string& path, const std::string& bytes, unsigned new_file_mode = 0644);

// Makes `path` a symbolic link to `target`, replacing in one step the link
// or file that is there: a new link under a name no other writer uses is
// renamed over it and the directory synced. Missing directories are made.
FileResult ReplaceLink(const std::string& path, const std::string& target);

// The directory that holds `path` ("." for a bare name).
std::string DirectoryOf(const std::string& path);

// Makes `directory` and the missing directories above it, private to the
// user; done also when it exists.
FileResult MakeDirectories(const std::string& directory);

// Removes the file; one that is already missing is no failure.
FileResult RemoveFile(const std::string& path);

// Removes the directory when nothing is left in it.
void RemoveDirectoryIfEmpty(const std::string& path);

}  // namespace nerbo
