#include "support/temp_directory.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace nerbo {

TempDirectory::TempDirectory() {
  static std::atomic<unsigned> counter{0};
  auto base = std::filesystem::temp_directory_path();
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (;;) {
    auto candidate = base / ("nerbo-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::error_code error;
    if (std::filesystem::create_directory(candidate, error)) {
      path_ = candidate.string();
      return;
    }
  }
}

TempDirectory::~TempDirectory() {
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

}  // namespace nerbo
