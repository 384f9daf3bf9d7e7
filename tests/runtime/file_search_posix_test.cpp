#include "runtime/file_search.h"

#include <gtest/gtest.h>

#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

// Whatever order the directory lists its entries in, the first match is the
// first in the order NTFS would return them.
TEST(FileSearchPosix, GivesTheFirstMatchInCaseInsensitiveOrder) {
  ScopedTempDir directory;
  for (const char* name : {"zeta.java", "Beta.java", "alpha.java", "Alpha2.java", "_a.txt", "za.txt"}) {
    directory.Touch(name);
  }
  ScopedCurrentDirectory in(directory.path());
  std::string found;
  ASSERT_TRUE(FindFirstFileName("*.java", &found));
  EXPECT_EQ(found, "alpha.java");
  ASSERT_TRUE(FindFirstFileName("*e*.java", &found));
  EXPECT_EQ(found, "Beta.java");
  ASSERT_TRUE(FindFirstFileName("?e*", &found));
  EXPECT_EQ(found, "Beta.java");
  ASSERT_TRUE(FindFirstFileName("*a.TXT", &found));
  EXPECT_EQ(found, "za.txt");  // upper-cased, 'Z' sorts before '_'
}

}  // namespace
}  // namespace nerbo
