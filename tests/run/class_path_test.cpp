#include "run/class_path.h"

#include <gtest/gtest.h>

#include "run/child_arguments.h"

namespace nerbo {
namespace {

struct ClassPathCase {
  const char* reason;
  const Conventions* conventions;
  int package_depth;
  const char* tool_path;
  bool javac;                   // cut the compiler's tail, else the interpreter's
  const char* user_class_path;  // null: CLASSPATH not set
  const char* expected;
};

class ClassPathTable : public testing::TestWithParam<ClassPathCase> {};

TEST_P(ClassPathTable, BuildsTheExpectedText) {
  const ClassPathCase& c = GetParam();
  const Conventions& conventions = *c.conventions;
  std::size_t tail = c.javac ? conventions.javac_tail : conventions.java_tail;
  EXPECT_EQ(BuildClassPath(conventions, PackageRootEntry(conventions, c.package_depth), c.tool_path, tail,
                           c.user_class_path ? std::optional<std::string>(c.user_class_path) : std::nullopt),
            c.expected);
}

const ClassPathCase kClassPathCases[] = {
    {"CompilerTwoLevelsDeep", &kWindowsConventions, 2, "C:\\jdk\\bin\\javac.exe", true, nullptr,
     "..\\..\\;%CLASSPATH%;C:\\jdk\\classes;C:\\jdk\\lib\\classes.zip"},
    {"CompilerDefaultPackage", &kWindowsConventions, 0, "C:\\jdk\\bin\\javac.exe", true, nullptr,
     ".;%CLASSPATH%;C:\\jdk\\classes;C:\\jdk\\lib\\classes.zip"},
    {"CompilerThreeLevelsDeep", &kWindowsConventions, 3, "C:\\jdk\\bin\\javac.exe", true, nullptr,
     "..\\..\\..\\;%CLASSPATH%;C:\\jdk\\classes;C:\\jdk\\lib\\classes.zip"},
    {"InterpreterCutsTwelve", &kWindowsConventions, 0, "C:\\jdk\\bin\\java.exe", false, nullptr,
     ".;%CLASSPATH%;C:\\jdk\\classes;C:\\jdk\\lib\\classes.zip"},
    {"TheTailIsCutWhateverItIs", &kWindowsConventions, 0, "C:\\kit\\binaries\\javac.exe", true, nullptr,
     ".;%CLASSPATH%;C:\\kit\\binarclasses;C:\\kit\\binarlib\\classes.zip"},
    {"TwelveCharacterCompilerCutsIntoTheTextBefore", &kWindowsConventions, 0, "C:\\javac.exe", true, nullptr,
     ".;%CLASSPATH%classeslib\\classes.zip"},
    {"OneCharacterPathNeverCutsBeforeTheStart", &kWindowsConventions, 0, "C", true, nullptr,
     "lib\\classes.zip"},
    {"NoToolPathNeverCutsBeforeTheStart", &kWindowsConventions, 0, "", false, nullptr, "lib\\classes.zip"},
    {"BlanksStayInTheText", &kWindowsConventions, 1, "C:\\Program Files\\jdk\\bin\\java.exe", false, nullptr,
     "..\\;%CLASSPATH%;C:\\Program Files\\jdk\\classes;C:\\Program Files\\jdk\\lib\\classes.zip"},
    {"ASetClassPathIsExpanded", &kWindowsConventions, 0, "C:\\jdk\\bin\\java.exe", false,
     "C:\\lib\\x.jar;D:\\y", ".;C:\\lib\\x.jar;D:\\y;C:\\jdk\\classes;C:\\jdk\\lib\\classes.zip"},
    {"AnEmptyClassPathIsExpandedToNothing", &kWindowsConventions, 0, "C:\\jdk\\bin\\java.exe", false, "",
     ".;;C:\\jdk\\classes;C:\\jdk\\lib\\classes.zip"},
    {"PosixCompiler", &kPosixConventions, 2, "/usr/lib/jvm/jdk/bin/javac", true, nullptr,
     "../../:$CLASSPATH:/usr/lib/jvm/jdk/classes:/usr/lib/jvm/jdk/lib/classes.zip"},
    {"PosixInterpreter", &kPosixConventions, 0, "/opt/jdk/bin/java", false, "/home/u/lib",
     ".:/home/u/lib:/opt/jdk/classes:/opt/jdk/lib/classes.zip"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ClassPathTable, testing::ValuesIn(kClassPathCases),
                         [](const testing::TestParamInfo<ClassPathCase>& param_info) {
                           return param_info.param.reason;
                         });

// On Linux the child gets it as one argument as it stands.
TEST(ClassPathArgument, IsQuotedOnlyWhenABlankOrTabWouldSplitItOnWindows) {
  const Conventions& windows = kWindowsConventions;
  EXPECT_EQ(ClassPathArgument(windows, ".;%CLASSPATH%;C:\\jdk\\classes"), ".;%CLASSPATH%;C:\\jdk\\classes");
  EXPECT_EQ(ClassPathArgument(windows, ".;C:\\my kit\\classes"), "\".;C:\\my kit\\classes\"");
  EXPECT_EQ(ClassPathArgument(windows, ".;C:\\tab\tkit"), "\".;C:\\tab\tkit\"");
  EXPECT_EQ(ClassPathArgument(kPosixConventions, ".:/my kit/classes"), ".:/my kit/classes");
}

}  // namespace
}  // namespace nerbo
