#include "runtime/portable/command_line.h"

#include <gtest/gtest.h>

namespace nerbo {
namespace {

struct SplitCase {
  const char* why;
  const char* command_line;  // with the program name
  std::vector<std::string> arguments;
};

class SplitArgumentsTable : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitArgumentsTable, SplitsLikeTheToolDoes) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(SplitArguments(SkipProgramName(c.command_line)), c.arguments) << c.why;
}

using Args = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitArgumentsTable,
    testing::Values(SplitCase{"program name only", "nerbo.exe", Args{}},
                    SplitCase{"blanks and tabs separate", "nerbo.exe  a\t b ", Args{"a", "b"}},
                    SplitCase{"quoted program name with blanks", "\"C:\\Program Files\\Nerbo.exe\" x",
                              Args{"x"}},
                    SplitCase{"unclosed quoted program name", "\"C:\\a b", Args{}},
                    SplitCase{"leading blanks before the program", "  nerbo x", Args{"x"}},
                    SplitCase{"quoted path with blanks", "n \"C:\\My Files\\Hello.class\" a",
                              Args{"C:\\My Files\\Hello.class", "a"}},
                    SplitCase{"quotes in the middle of an argument", "n a\"b c\"d", Args{"ab cd"}},
                    SplitCase{"two quotes alone are an empty argument", "n a \"\" b", Args{"a", "", "b"}},
                    SplitCase{"backslash-quote is a literal quote", "n a\\\"b", Args{"a\"b"}},
                    SplitCase{"other backslashes are ordinary", "n C:\\dir\\\\x", Args{"C:\\dir\\\\x"}},
                    SplitCase{"a quoted argument ending in a backslash runs on", "n \"C:\\dir\\\" next",
                              Args{"C:\\dir\" next"}},
                    SplitCase{"wildcards are not expanded", "n *.class ?", Args{"*.class", "?"}},
                    SplitCase{"unclosed quote runs to the end", "n \"a b", Args{"a b"}}));

TEST(JoinArguments, JoinsWithSingleBlanksAndQuotesNothing) {
  EXPECT_EQ(JoinArguments({"java.exe", "-classpath", "a b", "X"}), "java.exe -classpath a b X");
  EXPECT_EQ(JoinArguments({"p", "a", "", "b"}), "p a  b");
  EXPECT_EQ(JoinArguments({"java.exe", "X", ""}), "java.exe X ");
  EXPECT_EQ(JoinArguments({}), "");
}

TEST(JoinArguments, SplitsBackIntoTheSameArgumentsWhenNoneHoldsBlanks) {
  Args arguments{"java", "-classpath", "\"/opt/my kit/classes\"", "pkg.Hello", "a b "};
  EXPECT_EQ(SplitArguments(JoinArguments(arguments).c_str()),
            (Args{"java", "-classpath", "/opt/my kit/classes", "pkg.Hello", "a", "b"}));
}

}  // namespace
}  // namespace nerbo
