// Runs the scanner over class files that the real compiler writes. Built on
// Linux only, where a Java kit may be installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "run/qualified_class_name.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

TEST(FindQualifiedClassName, ReadsClassFilesWrittenByJavac) {
  if (std::system("javac -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "javac is not installed";
  ScopedTempDir directory;
  const std::string root = directory.path().string();
  directory.WriteFile("Hello.java", "public class Hello { public static void main(String[] a) {} }\n");
  directory.WriteFile(
      "a/b/c/Deep.java",
      "package a.b.c;\npublic class Deep { public static void main(String[] a) { new Deep(); } }\n");
  // The byte scan took HashMap's own name for none (a number constant
  // follows it) and java.sql.Date's for java.util.Date's.
  directory.WriteFile("demo/Wide.java",
                      "package demo;\npublic class Wide { static final float LOAD = 0.75f; float load;\n"
                      "  public Wide() { load = LOAD; } }\n");
  directory.WriteFile("demo/sql/Date.java",
                      "package demo.sql;\npublic class Date extends java.util.Date {}\n");
  directory.WriteFile("mod/module-info.java", "module demo.mod {}\n");
  const std::string command =
      "cd '" + root +
      "' && javac -d classes Hello.java a/b/c/Deep.java demo/Wide.java demo/sql/Date.java"
      " && javac -d module mod/module-info.java >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);

  ClassNameResult hello = FindQualifiedClassName((root + "/classes/Hello.class").c_str(), "Hello");
  EXPECT_EQ(hello.qualified_name, "Hello");
  EXPECT_EQ(hello.package_depth, 0);
  EXPECT_FALSE(hello.jbuilder_note);

  ClassNameResult deep = FindQualifiedClassName((root + "/classes/a/b/c/Deep.class").c_str(), "Deep");
  EXPECT_EQ(deep.qualified_name, "a.b.c.Deep");
  EXPECT_EQ(deep.package_depth, 3);
  // The note depends on the entry javac puts after the name (a method
  // reference when the class uses itself), which is javac's own choice.

  const struct {
    const char* file;
    const char* simple_name;
    const char* qualified_name;
    int depth;
  } own_names[] = {{"classes/demo/Wide.class", "Wide", "demo.Wide", 1},
                   {"classes/demo/sql/Date.class", "Date", "demo.sql.Date", 2},
                   {"module/module-info.class", "module-info", "module-info", 0}};
  for (const auto& own : own_names) {
    ClassNameResult read = FindQualifiedClassName((root + "/" + own.file).c_str(), own.simple_name);
    EXPECT_EQ(read.qualified_name, own.qualified_name);
    EXPECT_EQ(read.package_depth, own.depth);
    EXPECT_TRUE(read.own_name) << own.file;
  }
  EXPECT_TRUE(
      FindQualifiedClassName((root + "/module/module-info.class").c_str(), "module-info").module_descriptor);
}

}  // namespace
}  // namespace nerbo
