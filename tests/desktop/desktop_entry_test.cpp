#include "desktop/desktop_entry.h"

#include <gtest/gtest.h>

namespace nerbo {
namespace {

struct WordCase {
  const char* word;
  const char* written;
};

class ExecWordTable : public testing::TestWithParam<WordCase> {};

TEST_P(ExecWordTable, QuotesAsTheDesktopReadsIt) { EXPECT_EQ(ExecWord(GetParam().word), GetParam().written); }

// The key-file reader turns "\\" into one backslash before the command line
// is parsed, so an escaped character in quotes shows two, a backslash four.
INSTANTIATE_TEST_SUITE_P(Words, ExecWordTable,
                         testing::Values(WordCase{"/opt/jdk/bin/nerbo", "/opt/jdk/bin/nerbo"},
                                         WordCase{"/ArgsToNerbo", "/ArgsToNerbo"},
                                         WordCase{"/opt/my jdk/nerbo", "\"/opt/my jdk/nerbo\""},
                                         WordCase{"/opt/100%/nerbo", "/opt/100%%/nerbo"},
                                         WordCase{"/opt/a b%/x", "\"/opt/a b%%/x\""},
                                         WordCase{"/opt/$HOME/x", "\"/opt/\\\\$HOME/x\""},
                                         WordCase{"/opt/say \"hi\"", "\"/opt/say \\\\\"hi\\\\\"\""},
                                         WordCase{"/opt/`x`", "\"/opt/\\\\`x\\\\`\""},
                                         WordCase{"/opt/back\\slash", "\"/opt/back\\\\\\\\slash\""},
                                         WordCase{"/opt/it's", "\"/opt/it's\""},
                                         WordCase{"/opt/a;b", "\"/opt/a;b\""},
                                         WordCase{"/opt/tab\there", "\"/opt/tab\\there\""},
                                         WordCase{"", "\"\""}));

TEST(ExecLine, PutsTheFileBetweenTheWords) {
  EXPECT_EQ(ExecLine({{"/a b/nerbo"}, {"/ExecuteAfterCompile"}}), "\"/a b/nerbo\" %f /ExecuteAfterCompile");
  EXPECT_EQ(ExecLine({{"emacs", "-nw"}, {}}), "emacs -nw %f");
}

// The entry of a verb: the tool through a path with a blank, quoted, then
// the file and the verb's switch.
TEST(DesktopEntry, AHandlerOfItsKindThatStaysOutOfTheMenus) {
  const std::vector<DesktopVerb> verbs = DesktopVerbs("/opt/my jdk/nerbo", false, {});
  ASSERT_EQ(verbs.size(), 4u);
  EXPECT_EQ(DesktopEntryText(verbs[1]),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Run with args...\n"
            "Icon=nerbo-class\n"
            "Exec=\"/opt/my jdk/nerbo\" %f /ArgsToNerbo\n"
            "Comment=Classi Java\n"
            "MimeType=application/x-java;\n"
            "Terminal=true\n"
            "NoDisplay=true\n");
}

TEST(DolphinServiceMenu, ActionsOfOneKindOnly) {
  const std::vector<DesktopVerb> verbs = DesktopVerbs("/d/nerbo", true, {"/usr/bin/emacs", "-nw"});
  EXPECT_EQ(DolphinServiceMenuText(FileKind::kSource, verbs),
            "[Desktop Entry]\n"
            "Type=Service\n"
            "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
            "Name=Nerbo\n"
            "Comment=Java File\n"
            "MimeType=text/x-java;\n"
            "Terminal=true\n"
            "Actions=compile-run;compile;edit;\n"
            "\n[Desktop Action compile-run]\nName=Compile+Run\nIcon=nerbo-source\n"
            "Exec=/d/nerbo %f /ExecuteAfterCompile\n"
            "\n[Desktop Action compile]\nName=Compile\nIcon=nerbo-source\nExec=/d/nerbo %f\n"
            "\n[Desktop Action edit]\nName=Edit\nIcon=nerbo-source\nExec=/usr/bin/emacs -nw %f\n");
}

}  // namespace
}  // namespace nerbo
