#include "desktop/file_manager_menus.h"

#include <gtest/gtest.h>

namespace nerbo {
namespace {

struct WordCase {
  const char* word;
  const char* quoted;
};

class ShellWordTable : public testing::TestWithParam<WordCase> {};

TEST_P(ShellWordTable, QuotesOnlyWhatTheShellWouldRead) {
  EXPECT_EQ(ShellWord(GetParam().word), GetParam().quoted);
}

INSTANTIATE_TEST_SUITE_P(
    Words, ShellWordTable,
    testing::Values(WordCase{"/home/u/.local/share/nerbo/nerbo", "/home/u/.local/share/nerbo/nerbo"},
                    WordCase{"/ArgsToNerbo", "/ArgsToNerbo"}, WordCase{"/a b/x", "'/a b/x'"},
                    WordCase{"/it's", "'/it'\\''s'"}, WordCase{"/$HOME/`x`\\", "'/$HOME/`x`\\'"},
                    WordCase{"/a*?~", "'/a*?~'"}, WordCase{"", "''"}));

// Nemo replaces its %-codes and then splits the command as the shell does.
TEST(NemoAction, OneFileOfTheKindInATerminal) {
  const std::vector<DesktopVerb> verbs = DesktopVerbs("/opt/100% my/nerbo", false, {});
  EXPECT_EQ(NemoActionText(verbs[1]),
            "[Nemo Action]\n"
            "Name=Run with args...\n"
            "Exec='/opt/100%% my/nerbo' %F /ArgsToNerbo\n"
            "Icon-Name=nerbo-class\n"
            "Selection=s\n"
            "Mimetypes=application/x-java;\n"
            "Terminal=true\n");
}

}  // namespace
}  // namespace nerbo
