#include "run/package_folder.h"

#include <gtest/gtest.h>

namespace nerbo {
namespace {

constexpr FolderNaming kWin = FolderNaming::kWindows;
constexpr FolderNaming kPosix = FolderNaming::kPosix;

struct FolderCase {
  const char* reason;
  const char* directory;
  std::vector<std::string> package;
  FolderNaming naming;
  bool sits;
};

std::ostream& operator<<(std::ostream& out, const FolderCase& c) { return out << c.reason; }

class FolderTable : public testing::TestWithParam<FolderCase> {};

TEST_P(FolderTable, TellsWhetherTheLastFoldersAreThePackage) {
  const FolderCase& c = GetParam();
  EXPECT_EQ(SitsInPackageFolder(c.directory, c.package, c.naming), c.sits);
}

const FolderCase kFolderCases[] = {
    {"OneLevel", "C:\\Users\\ada\\Desktop\\demo", {"demo"}, kWin, true},
    {"ThreeLevels", "/home/ada/src/org/nerbo/demo", {"org", "nerbo", "demo"}, kPosix, true},
    {"CompiledInPlace", "C:\\Users\\ada\\Desktop", {"demo"}, kWin, false},
    {"ComponentsInAnotherOrder", "/src/nerbo/org", {"org", "nerbo"}, kPosix, false},
    {"OnlyTheInnerLevelMatches", "/src/other/demo", {"org", "demo"}, kPosix, false},
    {"FewerLevelsThanThePackage", "/nerbo/demo", {"org", "nerbo", "demo"}, kPosix, false},
    {"DefaultPackageFitsAnywhere", "/", {}, kPosix, true},
    {"CaseIgnoredOnWindows", "C:\\Src\\ORG\\Demo", {"org", "demo"}, kWin, true},
    {"CaseCountsOnLinux", "/src/Demo", {"demo"}, kPosix, false},
    {"DriveRootHasNoFolder", "C:\\", {"demo"}, kWin, false},
    {"FolderRightBelowTheDrive", "D:\\demo", {"demo"}, kWin, true},
    {"NetworkShareIsTheRoot", "\\\\server\\demo", {"demo"}, kWin, false},
    {"FolderBelowANetworkShare", "\\\\server\\share\\demo", {"demo"}, kWin, true},
    {"TrailingSeparator", "/src/demo/", {"demo"}, kPosix, true},
    {"SlashSeparatesOnWindows", "C:/src/org/demo", {"org", "demo"}, kWin, true},
    {"BackslashIsAPartOfANameOnLinux", "/src/org\\demo", {"org", "demo"}, kPosix, false},
    {"LettersBeyondAsciiComparedByteForByteOnLinux", "/src/citt\xc3\xa0", {"citt\xc3\xa0"}, kPosix, true},
    {"LettersBeyondAsciiPassOnWindows", "C:\\src\\citt\xe0", {"citt\xc3\xa0"}, kWin, true},
    {"AnAsciiMismatchBesideThemStillCounts", "C:\\src\\x\\citt\xe0", {"y", "citt\xc3\xa0"}, kWin, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, FolderTable, testing::ValuesIn(kFolderCases),
                         [](const testing::TestParamInfo<FolderCase>& param_info) {
                           return param_info.param.reason;
                         });

TEST(PackageComponents, AreTheLevelsBeforeTheClassName) {
  EXPECT_EQ(PackageComponents("org.nerbo.demo.Hello", 3), (std::vector<std::string>{"org", "nerbo", "demo"}));
  EXPECT_EQ(PackageComponents("Hello", 0), std::vector<std::string>{});
  // A default-package class whose file name holds a dot has no package.
  EXPECT_EQ(PackageComponents("Hello.World", 0), std::vector<std::string>{});
}

}  // namespace
}  // namespace nerbo
