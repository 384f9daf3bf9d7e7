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

TEST(DesktopEntry, ClassFilesRunByDefaultOrAskForArguments) {
  const std::string text = DesktopEntryText(ClassDesktopEntry("/opt/my jdk/bin/nerbo", "nerbo-class"));
  EXPECT_EQ(text,
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Nerbo\n"
            "Comment=Classi Java\n"
            "Icon=nerbo-class\n"
            "Exec=\"/opt/my jdk/bin/nerbo\" %f\n"
            "Terminal=true\n"
            "NoDisplay=true\n"
            "MimeType=application/x-java;\n"
            "Actions=Run;RunWithArgs;\n"
            "\n[Desktop Action Run]\n"
            "Name=Run\n"
            "Exec=\"/opt/my jdk/bin/nerbo\" %f\n"
            "\n[Desktop Action RunWithArgs]\n"
            "Name=Run with args...\n"
            "Exec=\"/opt/my jdk/bin/nerbo\" %f /ArgsToNerbo\n");
}

TEST(DesktopEntry, SourcesCompileAndRunByDefault) {
  const std::string text =
      DesktopEntryText(SourceDesktopEntry("/jdk/bin/nerbo", "nerbo-source", {"/usr/bin/emacs", "-nw"}));
  EXPECT_NE(text.find("\nExec=/jdk/bin/nerbo %f /ExecuteAfterCompile\n"), std::string::npos);
  EXPECT_NE(text.find("\nMimeType=text/x-java;\n"), std::string::npos);
  EXPECT_NE(text.find("\nActions=CompileRun;Compile;Edit;\n"), std::string::npos);
  EXPECT_NE(
      text.find(
          "[Desktop Action CompileRun]\nName=Compile+Run\nExec=/jdk/bin/nerbo %f /ExecuteAfterCompile\n"),
      std::string::npos);
  EXPECT_NE(text.find("[Desktop Action Compile]\nName=Compile\nExec=/jdk/bin/nerbo %f\n"), std::string::npos);
  EXPECT_NE(text.find("[Desktop Action Edit]\nName=Edit\nExec=/usr/bin/emacs -nw %f\n"), std::string::npos);
}

TEST(DesktopEntry, NoEditActionWithoutAnEditor) {
  const std::string text = DesktopEntryText(SourceDesktopEntry("/jdk/bin/nerbo", "nerbo-source", {}));
  EXPECT_NE(text.find("\nActions=CompileRun;Compile;\n"), std::string::npos);
  EXPECT_EQ(text.find("Edit"), std::string::npos);
}

}  // namespace
}  // namespace nerbo
