#include "runtime/portable/path.h"

#include <gtest/gtest.h>

namespace nerbo {
namespace {

struct SplitCase {
  const char* path;
  const char* drive;
  const char* directory;
  const char* name;
  const char* extension;
  FolderNaming naming = FolderNaming::kWindows;
};

class SplitPathTable : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitPathTable, SplitsIntoParts) {
  const SplitCase& c = GetParam();
  PathParts parts = SplitPath(c.path, c.naming);
  EXPECT_EQ(parts.drive, c.drive);
  EXPECT_EQ(parts.directory, c.directory);
  EXPECT_EQ(parts.name, c.name);
  EXPECT_EQ(parts.extension, c.extension);
  EXPECT_FALSE(parts.shortened);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, SplitPathTable,
    testing::Values(SplitCase{"C:\\work\\src\\Hello.java", "C:", "\\work\\src\\", "Hello", ".java"},
                    SplitCase{"Hello.class", "", "", "Hello", ".class"},
                    SplitCase{"C:Hello.java", "C:", "", "Hello", ".java"},
                    SplitCase{"C:\\jdk1.1\\bin\\javac", "C:", "\\jdk1.1\\bin\\", "javac", ""},
                    SplitCase{"archive.tar.gz", "", "", "archive.tar", ".gz"},
                    SplitCase{"C:\\work\\", "C:", "\\work\\", "", ""},
                    SplitCase{"..\\x", "", "..\\", "x", ""}, SplitCase{"name.", "", "", "name", "."}));

INSTANTIATE_TEST_SUITE_P(
    DotsAndSeparators, SplitPathTable,
    testing::Values(SplitCase{"..", "", "..", "", ""},              // all directory
                    SplitCase{"a/.", "", "a/.", "", ""},            // a trailing "." too
                    SplitCase{"C:..", "C:", "..", "", ""},          // dots right after the drive
                    SplitCase{"..x", "", ".", "", ".x"},            // what stays of "..x" is "."
                    SplitCase{"/a.b/c", "", "/a.b/", "c", ""},      // a directory's dot is no extension
                    SplitCase{"x/a:b.c", "", "x/", "a:b", ".c"},    // a colon elsewhere is ordinary
                    SplitCase{"*.cl?ss", "", "", "*", ".cl?ss"}));  // wildcards set flag 1

// On Linux a slash alone separates, and a name may hold what Windows's may not.
constexpr FolderNaming kPosix = FolderNaming::kPosix;
INSTANTIATE_TEST_SUITE_P(
    Linux, SplitPathTable,
    testing::Values(SplitCase{"/src/back\\slash.java", "", "/src/", "back\\slash", ".java", kPosix},
                    SplitCase{"C:Hello.java", "", "", "C:Hello", ".java", kPosix},
                    SplitCase{"/a b/Say\"Hi.java", "", "/a b/", "Say\"Hi", ".java", kPosix}));

TEST(SplitPath, LooksAtTheFirst260CharactersOnly) {
  std::string path = "C:\\" + std::string(250, 'd') + "\\" + std::string(46, 'n') + ".java";
  PathParts parts = SplitPath(path, FolderNaming::kWindows);
  EXPECT_EQ(parts.directory, "\\" + std::string(250, 'd') + "\\");
  EXPECT_EQ(parts.name, std::string(260 - 2 - 252, 'n'));
  EXPECT_EQ(parts.extension, "");
  EXPECT_TRUE(parts.shortened);
  EXPECT_FALSE(SplitPath(path.substr(0, 260), FolderNaming::kWindows).shortened);
}

TEST(SplitPath, CutsEachPartTo255Characters) {
  PathParts parts = SplitPath("a." + std::string(300, 'e'), FolderNaming::kWindows);
  EXPECT_EQ(parts.extension, "." + std::string(254, 'e'));
  parts = SplitPath(std::string(258, 'n') + ".c", FolderNaming::kWindows);
  EXPECT_EQ(parts.name.size(), 255u);
  EXPECT_EQ(parts.extension, ".c");
  EXPECT_TRUE(parts.shortened);
  parts = SplitPath(std::string(258, 'd') + "/x", FolderNaming::kWindows);
  EXPECT_EQ(parts.directory, std::string(255, 'd'));
  EXPECT_EQ(parts.name, "x");
  EXPECT_TRUE(parts.shortened);
  EXPECT_FALSE(SplitPath(std::string(254, 'd') + "/x", FolderNaming::kWindows).shortened);
}

struct MergeCase {
  const char* drive;
  const char* directory;
  const char* name;
  const char* extension;
  const char* joined;
};

class MergePathTable : public testing::TestWithParam<MergeCase> {};

TEST_P(MergePathTable, JoinsParts) {
  const MergeCase& c = GetParam();
  EXPECT_EQ(MergePath(c.drive, c.directory, c.name, c.extension, '\\'), c.joined);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, MergePathTable,
    testing::Values(MergeCase{"", "C:\\jdk1.1.8\\bin", "java", "exe", "C:\\jdk1.1.8\\bin\\java.exe"},
                    MergeCase{"", "C:\\", "javac", "exe", "C:\\javac.exe"},
                    MergeCase{"C:", "\\work\\src\\", "", "", "C:\\work\\src\\"},
                    MergeCase{"", "", "Hello", ".java", "Hello.java"}, MergeCase{"", "", "", "", ""},
                    MergeCase{"", "/opt/kit/", "java", "", "/opt/kit/java"},  // slash kept, no second one
                    MergeCase{"Cx", "", "a", "", "C:a"}));                    // only the drive's letter

TEST(MergePath, UsesTheGivenSeparator) {
  EXPECT_EQ(MergePath("", "/opt/kit/bin", "java", "", '/'), "/opt/kit/bin/java");
}

// The launcher selects the drive of a typed path by this number, whatever
// the letter's case.
TEST(DriveNumber, FoldsTheLetterToItsNumber) {
  const std::pair<const char*, int> cases[] = {{"A:", 0}, {"a:", 0},  {"C:", 2},
                                               {"c:", 2}, {"z:", 25}, {"Z:", 25}};
  for (const auto& c : cases) EXPECT_EQ(DriveNumber(c.first), c.second) << c.first;
}

}  // namespace
}  // namespace nerbo
