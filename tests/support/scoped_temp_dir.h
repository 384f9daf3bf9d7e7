// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes away; and a scoped change of the
// current directory.
#pragma once

#include <filesystem>
#include <string>

namespace nerbo {

class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Creates an empty file (and no directories) at `name` below the directory.
  std::filesystem::path Touch(const std::string& name) const;
  // Writes `bytes` to `name` below the directory, creating the directories
  // on the way.
  std::filesystem::path WriteFile(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::filesystem::path& directory);
  ~ScopedCurrentDirectory();
  ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
  ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

 private:
  std::filesystem::path saved_;
};

}  // namespace nerbo
