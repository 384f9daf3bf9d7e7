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
  const std::string command =
      "cd '" + root + "' && javac -d classes Hello.java a/b/c/Deep.java >/dev/null 2>&1";
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
}

}  // namespace
}  // namespace nerbo
