#include "runtime/file_search.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

struct SearchCase {
  const char* pattern;
  const char* found;  // null: nothing matches
};

class FileSearch : public testing::TestWithParam<SearchCase> {
 protected:
  void SetUp() override {
    for (const char* name : {"Beta.java", "Gamma.class", "readme.TXT"}) directory_.Touch(name);
    std::filesystem::create_directory(directory_.path() / "Sub.dir");
  }

  ScopedTempDir directory_;
};

TEST_P(FileSearch, GivesTheNameAsStoredOnDisk) {
  ScopedCurrentDirectory in(directory_.path());
  std::string found = "unchanged";
  bool any = FindFirstFileName(GetParam().pattern, &found);
  if (GetParam().found == nullptr) {
    EXPECT_FALSE(any);
    EXPECT_EQ(found, "unchanged");
  } else {
    EXPECT_TRUE(any);
    EXPECT_EQ(found, GetParam().found);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, FileSearch,
                         testing::Values(SearchCase{"Beta.java", "Beta.java"},
                                         SearchCase{"bETA.JAVA", "Beta.java"},  // other letter case
                                         SearchCase{"README.txt", "readme.TXT"},
                                         SearchCase{"*.CLASS", "Gamma.class"},
                                         SearchCase{"B?ta.*", "Beta.java"},
                                         SearchCase{"sub.DIR", "Sub.dir"},  // directories are found too
                                         SearchCase{"Beta.jav", nullptr},   // no prefix match
                                         SearchCase{"*.zip", nullptr}, SearchCase{"Delta.java", nullptr}));

TEST(PathExists, HoldsForFilesAndDirectoriesOnly) {
  ScopedTempDir directory;
  std::filesystem::path file = directory.Touch("Name.java");
  EXPECT_TRUE(PathExists(file.string()));
  EXPECT_TRUE(PathExists(directory.path().string()));
  EXPECT_FALSE(PathExists((directory.path() / "Other.java").string()));
  EXPECT_FALSE(PathExists((directory.path() / "Name.java" / "x").string()));
}

}  // namespace
}  // namespace nerbo
