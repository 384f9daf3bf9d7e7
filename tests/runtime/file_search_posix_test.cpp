#include "runtime/file_search.h"

#include <sys/stat.h>

#include <filesystem>

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

// Names differ by letter case and '*' and '?' are ordinary characters here:
// the file with exactly the typed name is the one clicked.
TEST(FileSearchPosix, AFileWithExactlyTheTypedNameWins) {
  ScopedTempDir directory;
  for (const char* name : {"Hello.class", "hello.class", "*.java", "A.java"}) directory.Touch(name);
  ScopedCurrentDirectory in(directory.path());
  const char* const exact_names[] = {"hello.class", "Hello.class", "*.java"};
  for (const char* typed : exact_names) {
    std::string found;
    ASSERT_TRUE(FindFirstFileName(typed, &found)) << typed;
    EXPECT_EQ(found, typed);
  }
  std::string found;
  ASSERT_TRUE(FindFirstFileName("a.JAVA", &found));
  EXPECT_EQ(found, "A.java");
}

TEST(FileSearchPosix, OnlyFilesOfDataAreRegular) {
  namespace fs = std::filesystem;
  ScopedTempDir directory;
  const fs::path file = directory.Touch("Hello.class");
  const fs::path pipe = directory.path() / "Pipe.class";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  fs::create_directory(directory.path() / "Dir.class");
  fs::create_symlink("/dev/zero", directory.path() / "Zero.class");
  fs::create_symlink(file, directory.path() / "Link.class");
  const struct {
    const char* name;
    bool regular;
  } cases[] = {{"Hello.class", true}, {"Link.class", true},  {"Pipe.class", false},
               {"Dir.class", false},  {"Zero.class", false}, {"Missing.class", false}};
  for (const auto& c : cases)
    EXPECT_EQ(IsRegularFile((directory.path() / c.name).string()), c.regular) << c.name;
}

}  // namespace
}  // namespace nerbo
