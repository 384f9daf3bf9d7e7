// Every test of this program that installs runs with XDG directories of its
// own, so that no test writes desktop entries or defaults for the user who
// runs the tests.
#include <gtest/gtest.h>

#include <memory>

#include "support/scoped_environment.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

class PrivateDesktopHome : public testing::Environment {
 public:
  void SetUp() override {
    home_ = std::make_unique<ScopedTempDir>();
    data_ = std::make_unique<ScopedEnvironment>("XDG_DATA_HOME", (home_->path() / "data").string());
    config_ = std::make_unique<ScopedEnvironment>("XDG_CONFIG_HOME", (home_->path() / "config").string());
  }
  void TearDown() override {
    config_.reset();
    data_.reset();
    home_.reset();
  }

 private:
  std::unique_ptr<ScopedTempDir> home_;
  std::unique_ptr<ScopedEnvironment> data_;
  std::unique_ptr<ScopedEnvironment> config_;
};

const testing::Environment* const kPrivateDesktopHome =
    testing::AddGlobalTestEnvironment(new PrivateDesktopHome);

}  // namespace
}  // namespace nerbo
