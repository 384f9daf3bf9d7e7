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

// Reads of any size, down to single bytes, cut the text alike; the
// byte-by-byte reference agrees.
TEST_P(DepthTable, CountsTheDots) {
  const DepthCase& c = GetParam();
  for (std::size_t block : {1, 2, 3, 1999, 4096}) EXPECT_EQ(Depth(c.text, false, block), c.depth) << block;
  EXPECT_EQ(ReferencePackageDepth(c.text, false), c.depth);
}

INSTANTIATE_TEST_SUITE_P(
    Declarations, DepthTable,
    testing::Values(DepthCase{"three levels", "package com.example.app;\nclass A {}\n", 3},
                    DepthCase{"one level", "package app;\n", 1},
                    DepthCase{"no declaration", "class A { int x = a.b; }\n", 0},
                    DepthCase{"empty text", "", 0}, DepthCase{"word then line end", "package\na.b;\n", 1},
                    DepthCase{"word then semicolon", "package;\n", 1},
                    DepthCase{"last line without line feed", "class A;\npackage a.b.c", 3},
                    DepthCase{"letters inside a longer word", "int packageCount = a.b;\n", 2},
                    DepthCase{"letter case counts", "Package a.b;\n", 0},
                    DepthCase{"quotes are not understood", "String s = \"package a.b\";\n", 2},
                    DepthCase{"CR LF line ends", "// x.y\r\npackage a.b;\r\n", 2},
                    DepthCase{"a carriage return inside the word", "pack\rage a.b;\n", 2}));

INSTANTIATE_TEST_SUITE_P(
    Comments, DepthTable,
    testing::Values(DepthCase{"inside a block comment", "/* package x.y; */\npackage a.b;\n", 2},
                    DepthCase{"behind a line comment", "int i; // package x.y;\npackage a;\n", 1},
                    DepthCase{"after a comment closes on the line", "/* open\n still\n*/ package a.b.c;\n",
                              3},
                    DepthCase{"slash star slash opens and closes", "/*/ package a.b; */\n", 2},
                    DepthCase{"a block comment hides a line comment", "/* // */ package a.b;\n", 2},
                    DepthCase{"dots inside a comment count", "package a /* x.y */ .b;\n", 3},
                    DepthCase{"a comment that never closes", "/* package a;\npackage b;\n", 0},
                    DepthCase{"star slash outside a comment", "*/ package a;\n", 1},
                    DepthCase{"a comment right after a comment", "/* a *//* b */ package x.y;\n", 2},
                    DepthCase{"a closing slash is not a line comment's first", "/* c *//package x.y;\n", 2}));

INSTANTIATE_TEST_SUITE_P(TextEnds, DepthTable,
                         testing::Values(DepthCase{"nothing after Ctrl+Z", "\x1Apackage a.b;\n", 0},
                                         DepthCase{"Ctrl+Z ends the count", "package a.b\x1A.c;\n", 2},
                                         DepthCase{"a zero byte hides the rest of its piece",
                                                   std::string("pack\0age a;\npackage b.c;\n", 25), 2},
                                         DepthCase{"a zero byte ends the count",
                                                   std::string("package a\0.b.c;\n", 16), 1}));

// Lines longer than 1999 bytes arrive in pieces.
INSTANTIATE_TEST_SUITE_P(
    Pieces, DepthTable,
    testing::Values(
        DepthCase{"the word split across two pieces", std::string(1995, ' ') + "package a.b;\n", 0},
        DepthCase{"a line comment beyond its first piece", "//" + std::string(1997, 'x') + "package a.b;\n",
                  2},
        DepthCase{"the count ends with the piece", std::string(1990, ' ') + "package a.b.c;\n", 1},
        DepthCase{"CR-only lines: the comment hides the word",
                  "// c\rpackage a.b;\r" + std::string(2000, 'x') + "\r", 0},
        DepthCase{"CR-only lines: a later piece holds the word",
                  "// c\rpackage a.b;\r" + std::string(2000, 'x') + "\rpackage x.y.z;\r", 3}));

// Random texts made of the bytes the rules care about: the scanner's leaps
// must land where the byte-by-byte reference steps.
TEST(PackageScanner, AgreesWithTheReferenceOnRandomText) {
  const std::string alphabet = "/*/*package.;\n\r x\x1A";
  std::mt19937 random(20261207);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    std::size_t length = random() % 48;
    while (text.size() < length) {
      if (random() % 8 == 0) {
        text += "package";
      } else {
        text += alphabet[random() % alphabet.size()];
      }
    }
    ASSERT_EQ(Depth(text), ReferencePackageDepth(text, false)) << '"' << text << '"';
  }
}

TEST(PackageScanner, ThePieceAReadErrorCutsIsNotScanned) {
  EXPECT_EQ(Depth("class A;\npackage a.b", true), 0);
  EXPECT_EQ(Depth("package a.b;\nclass A", true), 2);
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
