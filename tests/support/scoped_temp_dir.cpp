#include "support/scoped_temp_dir.h"

#include <fstream>
#include <random>
#include <system_error>

namespace nerbo {

ScopedTempDir::ScopedTempDir() {
  std::random_device random;
  std::filesystem::path base = std::filesystem::temp_directory_path();
  do {
    path_ = base / ("nerbo-test-" + std::to_string(random()));
  } while (!std::filesystem::create_directory(path_));
}

ScopedTempDir::~ScopedTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path ScopedTempDir::Touch(const std::string& name) const {
  std::filesystem::path file = path_ / name;
  std::ofstream(file, std::ios::binary);
  return file;
}

std::filesystem::path ScopedTempDir::WriteFile(const std::string& name, const std::string& bytes) const {
  std::filesystem::path file = path_ / name;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
  return file;
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::filesystem::path& directory)
    : saved_(std::filesystem::current_path()) {
  std::filesystem::current_path(directory);
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
  std::error_code ignored;
  std::filesystem::current_path(saved_, ignored);
}

}  // namespace nerbo
