#include "compile/package_scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "compile/package_reference.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

// The text's bytes in reads of at most `block` bytes, then the end of the
// data or a read error.
int Depth(const std::string& bytes, bool read_error = false, std::size_t block = 4096) {
  std::size_t position = 0;
  return ScanPackageDepth([&](char* buffer, std::size_t size) -> long {
    if (position == bytes.size()) return read_error ? -1 : 0;
    std::size_t count = std::min({size, block, bytes.size() - position});
    bytes.copy(buffer, count, position);
    position += count;
    return static_cast<long>(count);
  });
}

struct DepthCase {
  const char* reason;
  std::string text;
  int depth;
};

std::ostream& operator<<(std::ostream& out, const DepthCase& c) { return out << c.reason; }

class DepthTable : public testing::TestWithParam<DepthCase> {};

// Reads of any size, down to single bytes, cut the text alike (and every
// escape, comment and literal with it); the plain reference agrees.
TEST_P(DepthTable, CountsTheDots) {
  const DepthCase& c = GetParam();
  for (std::size_t block : {1, 2, 3, 1999, 4096}) EXPECT_EQ(Depth(c.text, false, block), c.depth) << block;
  EXPECT_EQ(ReferencePackageDepth(c.text), c.depth);
}

INSTANTIATE_TEST_SUITE_P(
    Declarations, DepthTable,
    testing::Values(DepthCase{"three levels", "package com.example.app;\nclass A {}\n", 3},
                    DepthCase{"one level", "package app;\n", 1},
                    DepthCase{"no declaration", "class A { int x = a.b; }\n", 0},
                    DepthCase{"empty text", "", 0},
                    DepthCase{"the name on the next line", "package\na.b;\n", 2},
                    DepthCase{"word then semicolon", "package;\n", 1},
                    DepthCase{"last line without line feed", "class A;\npackage a.b.c", 3},
                    DepthCase{"the keyword as the last word", "package", 1},
                    DepthCase{"a module-info.java", "module m.n { exports org.packages.x; }\n", 0},
                    DepthCase{"letter case counts", "Package a.b;\n", 0},
                    DepthCase{"CR LF line ends", "// x.y\r\npackage a.b;\r\n", 2},
                    DepthCase{"a carriage return ends a word", "pack\rage a.b;\n", 0},
                    DepthCase{"the word in a string",
                              "class A { String s = \"Install the package first.\"; }\n", 0}));

// The keyword is a whole word: the letters inside a longer one are a name.
INSTANTIATE_TEST_SUITE_P(Words, DepthTable,
                         testing::Values(DepthCase{"a longer word", "int packageCount = a.b;\n", 0},
                                         DepthCase{"a word that ends in it", "subpackage a.b;\n", 0},
                                         DepthCase{"a dollar after it", "package$ a.b;\n", 0},
                                         DepthCase{"a letter beyond ASCII", "package\xC3\xA9 a.b;\n", 0},
                                         DepthCase{"a dot before it", "x.package a.b;\n", 2}));

INSTANTIATE_TEST_SUITE_P(
    Literals, DepthTable,
    testing::Values(
        DepthCase{"a string", "String s = \"package a.b\";\npackage c;\n", 1},
        DepthCase{"an escaped quote in a string", "String s = \"\\\"; package x.y;\"; package a.b.c;\n", 3},
        DepthCase{"an empty string", "String e = \"\"; package a.b;\n", 2},
        DepthCase{"a quote in a character literal", "char q = '\"'; package a.b;\n", 2},
        DepthCase{"an escaped quote in a character literal", "char q = '\\''; package a.b;\n", 2},
        DepthCase{"a text block", "String t = \"\"\"\n  package x.y;\n  \"\"\"; package a.b.c;\n", 3},
        DepthCase{"an escaped quote in a text block",
                  "String t = \"\"\"\n  \\\"\"\" package x.y;\n  \"\"\"; package a.b.c;\n", 3}));

INSTANTIATE_TEST_SUITE_P(
    Comments, DepthTable,
    testing::Values(DepthCase{"inside a block comment", "/* package x.y; */\npackage a.b;\n", 2},
                    DepthCase{"behind a line comment", "int i; // package x.y;\npackage a;\n", 1},
                    DepthCase{"after a comment closes on the line", "/* open\n still\n*/ package a.b.c;\n",
                              3},
                    DepthCase{"slash star slash only opens", "/*/ package a.b; */\n", 0},
                    DepthCase{"a block comment hides a line comment", "/* // */ package a.b;\n", 2},
                    DepthCase{"comments between the parts do not count", "package a /* x.y */ .b;\n", 2},
                    DepthCase{"a comment that never closes", "/* package a;\npackage b;\n", 0},
                    DepthCase{"star slash outside a comment", "*/ package a;\n", 1},
                    DepthCase{"a comment right after a comment", "/* a *//* b */ package x.y;\n", 2},
                    DepthCase{"a closing slash is not a line comment's first", "/* c *//package x.y;\n", 2},
                    DepthCase{"a carriage return alone ends a line comment", "// c\rpackage a.b;\r", 2},
                    DepthCase{"a comment right after the keyword", "package/**/a.b;\n", 2}));

// Java translates \uXXXX before it lexes.
INSTANTIATE_TEST_SUITE_P(
    UnicodeEscapes, DepthTable,
    testing::Values(
        DepthCase{"an escaped letter of the keyword", "\\u0070ackage a.b;\n", 2},
        DepthCase{"more than one u", "\\uuu0070ackage a.b;\n", 2},
        DepthCase{"an escaped line end ends a line comment", "// \\u000a package a.b;\n", 2},
        DepthCase{"an escaped dot counts", "package a\\u002Eb;\n", 2},
        DepthCase{"an escaped backslash begins no escape", "// \\\\u000a package a.b;\n", 0},
        DepthCase{"a backslash from an escape begins none either", "\\u005cu0070ackage a.b;\n", 0},
        DepthCase{"after a backslash from an escape one may begin", "\\u005c\\u0070ackage a.b;\n", 2},
        DepthCase{"a broken escape at the end", "package a.b\\u00", 2},
        DepthCase{"an escaped letter beyond ASCII is a name part", "package\\u00e9 a.b;\n", 0},
        DepthCase{"an escaped Ctrl+Z ends nothing", "\\u001a package a.b;\n", 2}));

INSTANTIATE_TEST_SUITE_P(
    TextEnds, DepthTable,
    testing::Values(DepthCase{"nothing after Ctrl+Z", "\x1Apackage a.b;\n", 0},
                    DepthCase{"Ctrl+Z ends the count", "package a.b\x1A.c;\n", 2},
                    DepthCase{"a zero byte ends a word", std::string("pack\0age a;\npackage b.c;\n", 25), 2},
                    DepthCase{"a zero byte ends no count", std::string("package a\0.b.c;\n", 16), 3},
                    DepthCase{"at most 32768 levels", "package " + std::string(40000, '.'), 32768}));

// A line is a line however long: nothing cuts it in pieces.
INSTANTIATE_TEST_SUITE_P(
    LongLines, DepthTable,
    testing::Values(DepthCase{"the keyword after 1995 blanks", std::string(1995, ' ') + "package a.b;\n", 2},
                    DepthCase{"a line comment of 2000 bytes",
                              "//" + std::string(1997, 'x') + "package a.b;\n", 0},
                    DepthCase{"CR-only lines", "// c\rpackage a.b;\r" + std::string(2000, 'x') + "\r", 2}));

// Random texts made of the characters the rules care about: the lexer's
// leaps and its states across the blocks' edges must land where the plain
// reference steps.
TEST(PackageScanner, AgreesWithTheReferenceOnRandomText) {
  const std::string alphabet = "/*/*.;\n\r x\x1A\"\"'\\\\u0pa";
  const std::string words[] = {"package", "\\u0070", "\\u002e", "\"\"\"", "*/"};
  std::mt19937 random(20261207);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    std::size_t length = random() % 48;
    while (text.size() < length) {
      if (random() % 6 == 0) {
        text += words[random() % 5];
      } else {
        text += alphabet[random() % alphabet.size()];
      }
    }
    std::size_t block = 1 + random() % 7;
    ASSERT_EQ(Depth(text, false, block), ReferencePackageDepth(text)) << block << " \"" << text << '"';
  }
}

TEST(PackageScanner, AReadErrorEndsTheText) {
  EXPECT_EQ(Depth("class A;\npackage a.b", true), 2);
  EXPECT_EQ(Depth("", true), 0);
}

TEST(FindPackageDepth, ReadsTheSourceWithTheTextRules) {
  ScopedTempDir directory;
  ScopedCurrentDirectory inside(directory.path());
  directory.WriteFile("A.java", "// a\r\npackage a.b.c;\r\n\x1Apackage x;\n");
  EXPECT_EQ(FindPackageDepth("A.java"), 3);
  directory.WriteFile("B.java", "\x1A\npackage a.b.c;\n");
  EXPECT_EQ(FindPackageDepth("B.java"), 0);
}

TEST(FindPackageDepth, ASourceThatCannotBeReadHasDepthZero) {
  ScopedTempDir directory;
  ScopedCurrentDirectory inside(directory.path());
  EXPECT_EQ(FindPackageDepth("Missing.java"), 0);
  std::filesystem::create_directory(directory.path() / "Folder.java");
  EXPECT_EQ(FindPackageDepth("Folder.java"), 0);
}

}  // namespace
}  // namespace nerbo
