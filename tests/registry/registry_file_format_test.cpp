#include "registry/registry_file_format.h"

#include <cctype>

#include <gtest/gtest.h>

#include "registry/registry_tree.h"
#include "support/registry_dump.h"

namespace nerbo {
namespace {

std::string TestName(const char* label) {
  std::string name;
  for (const char* p = label; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
}

struct ValueCase {
  const char* label;
  std::uint32_t type;
  std::string bytes;
  const char* line;  // the value's line in the file, after its name
};

class RegistryFileValueForms : public testing::TestWithParam<ValueCase> {};

// Each kind of value has one written form, and reading it gives back the very
// bytes and type.
TEST_P(RegistryFileValueForms, WritesTheFormAndReadsBackTheBytes) {
  const ValueCase& c = GetParam();
  RegistryTree tree;
  bool inserted = false;
  tree.local_machine.AddSubkey("SOFTWARE", &inserted).SetValue("v", c.type, c.bytes);
  std::string text = FormatRegistryFile(tree);
  EXPECT_NE(text.find(std::string("\n\"v\"=") + c.line + "\n"), std::string::npos) << text;

  RegistryTree parsed;
  RegistryFileError error;
  ASSERT_TRUE(ParseRegistryFile(text, &parsed, &error)) << error.line << ": " << error.message;
  const RegistryNode* software = parsed.local_machine.FindSubkey("SOFTWARE");
  ASSERT_NE(software, nullptr);
  const RegistryValue* value = software->FindValue("v");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->type, c.type);
  EXPECT_EQ(value->data, c.bytes);
  EXPECT_EQ(FormatRegistryFile(parsed), text);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, RegistryFileValueForms,
    testing::Values(
        ValueCase{"text with its terminator", kRegSz, std::string("Nerbo.exe", 10), "\"Nerbo.exe\""},
        ValueCase{"quotes and backslashes escaped", kRegSz, std::string("C:\\a \"%1\"", 10),
                  "\"C:\\\\a \\\"%1\\\"\""},
        ValueCase{"empty text with its terminator", kRegSz, std::string("", 1), "\"\""},
        ValueCase{"text without its terminator", kRegSz, "C:\\j", "hex(1):43,3a,5c,6a"},
        ValueCase{"no bytes at all", kRegSz, "", "hex(1):"},
        ValueCase{"text with an inner zero", kRegSz, std::string("a\0b", 4), "hex(1):61,00,62,00"},
        ValueCase{"text with a line feed", kRegSz, std::string("a\nb", 4), "hex(1):61,0a,62,00"},
        ValueCase{"text with a byte above 0x7f", kRegSz, std::string("\xe8", 2), "hex(1):e8,00"},
        ValueCase{"flag word", kRegDword, std::string("\x03\x00\x00\x00", 4), "dword:00000003"},
        ValueCase{"flag word with every byte set", kRegDword, "\x78\x56\x34\x12", "dword:12345678"},
        ValueCase{"flag word of three bytes", kRegDword, "\x01\x02\x03", "hex(4):01,02,03"},
        ValueCase{"binary", 3, std::string("\x00\xff", 2), "hex:00,ff"},
        ValueCase{"no type", kRegNone, "", "hex(0):"},
        ValueCase{"large type number", 0x80000001u, "\x01", "hex(80000001):01"}),
    [](const testing::TestParamInfo<ValueCase>& c) { return TestName(c.param.label); });

TEST(RegistryFileFormat, LongHexWrapsAndReadsBack) {
  RegistryTree tree;
  std::string bytes;
  for (int i = 0; i < 300; ++i) bytes.push_back(static_cast<char>(i));
  tree.classes_root.SetValue("BackUp", 3, bytes);
  std::string text = FormatRegistryFile(tree);
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
  }
  RegistryTree parsed;
  RegistryFileError error;
  ASSERT_TRUE(ParseRegistryFile(text, &parsed, &error)) << error.line << ": " << error.message;
  const RegistryValue* backup = parsed.classes_root.FindValue("backup");
  ASSERT_NE(backup, nullptr);
  EXPECT_EQ(backup->data, bytes);
}

TEST(RegistryFileFormat, EmptyKeysAreKeptAndKeysComeInOrder) {
  RegistryTree tree;
  bool inserted = false;
  RegistryNode& shell =
      tree.classes_root.AddSubkey("ClassFile.Nerbo", &inserted).AddSubkey("Shell", &inserted);
  shell.AddSubkey("Run", &inserted);
  shell.AddSubkey("Run with args...", &inserted)
      .AddSubkey("command", &inserted)
      .SetValue("", kRegSz, std::string("x", 2));
  EXPECT_EQ(FormatRegistryFile(tree),
            "REGEDIT4\n"
            "\n[HKEY_CLASSES_ROOT\\ClassFile.Nerbo]\n"
            "\n[HKEY_CLASSES_ROOT\\ClassFile.Nerbo\\Shell]\n"
            "\n[HKEY_CLASSES_ROOT\\ClassFile.Nerbo\\Shell\\Run]\n"
            "\n[HKEY_CLASSES_ROOT\\ClassFile.Nerbo\\Shell\\Run with args...]\n"
            "\n[HKEY_CLASSES_ROOT\\ClassFile.Nerbo\\Shell\\Run with args...\\command]\n"
            "@=\"x\"\n");
}

struct AcceptedCase {
  const char* label;
  const char* text;
  const char* dump;
};

class RegistryFileAcceptedText : public testing::TestWithParam<AcceptedCase> {};

TEST_P(RegistryFileAcceptedText, ReadsAsTheRegistryEditorWould) {
  RegistryTree tree;
  RegistryFileError error;
  ASSERT_TRUE(ParseRegistryFile(GetParam().text, &tree, &error)) << error.line << ": " << error.message;
  EXPECT_EQ(DumpRegistryTree(tree), GetParam().dump);
  // Whatever was read is written in a form that reads back the same.
  RegistryTree again;
  ASSERT_TRUE(ParseRegistryFile(FormatRegistryFile(tree), &again, &error))
      << error.line << ": " << error.message;
  EXPECT_EQ(DumpRegistryTree(again), GetParam().dump);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RegistryFileAcceptedText,
    testing::Values(
        AcceptedCase{"empty", "", "HKEY_CLASSES_ROOT\nHKEY_LOCAL_MACHINE\n"},
        AcceptedCase{"crlf, comments, blanks",
                     "REGEDIT4\r\n\r\n; a comment\r\n  [HKEY_LOCAL_MACHINE\\A]  \r\n\t@=\"x\"\r\n",
                     "HKEY_CLASSES_ROOT\nHKEY_LOCAL_MACHINE\nHKEY_LOCAL_MACHINE\\A\n"
                     "  @ type 1, 2 bytes: \"x\\x00\"\n"},
        AcceptedCase{"continued hex, short dword, lower-case root",
                     "REGEDIT4\n[hkey_classes_root\\K]\n\"b\"=hex:01,\\\n  02, 03\n\"d\"=dword:1f\n",
                     "HKEY_CLASSES_ROOT\nHKEY_CLASSES_ROOT\\K\n"
                     "  \"b\" type 3, 3 bytes: \"\\x01\\x02\\x03\"\n"
                     "  \"d\" type 4, 4 bytes: \"\\x1f\\x00\\x00\\x00\"\n"
                     "HKEY_LOCAL_MACHINE\n"},
        AcceptedCase{"a key given twice, the later value wins",
                     "REGEDIT4\n[HKEY_CLASSES_ROOT\\K]\n\"v\"=\"1\"\n[HKEY_CLASSES_ROOT\\k]\n\"V\"=\"2\"\n",
                     "HKEY_CLASSES_ROOT\nHKEY_CLASSES_ROOT\\K\n  \"v\" type 1, 2 bytes: \"2\\x00\"\n"
                     "HKEY_LOCAL_MACHINE\n"},
        AcceptedCase{"values on a root, deep key creates its parents",
                     "REGEDIT4\n[HKEY_LOCAL_MACHINE]\n@=\"r\"\n[HKEY_LOCAL_MACHINE\\a\\b]\n",
                     "HKEY_CLASSES_ROOT\nHKEY_LOCAL_MACHINE\n  @ type 1, 2 bytes: \"r\\x00\"\n"
                     "HKEY_LOCAL_MACHINE\\a\nHKEY_LOCAL_MACHINE\\a\\b\n"},
        AcceptedCase{"escapes, a blank after the value, no line end at the end",
                     "REGEDIT4\n[HKEY_CLASSES_ROOT\\K]\n\"a\\\\b\\\"\"=\"\\\"c\\\\\" \r\n@=\"\"",
                     "HKEY_CLASSES_ROOT\nHKEY_CLASSES_ROOT\\K\n  @ type 1, 1 bytes: \"\\x00\"\n"
                     "  \"a\\\\b\\\"\" type 1, 4 bytes: \"\\\"c\\\\\\x00\"\nHKEY_LOCAL_MACHINE\n"},
        AcceptedCase{"the user's root", "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\U]\n\"ProgId\"=\"x\"\n",
                     "HKEY_CLASSES_ROOT\nHKEY_LOCAL_MACHINE\nHKEY_CURRENT_USER\nHKEY_CURRENT_USER\\Software\n"
                     "HKEY_CURRENT_USER\\Software\\U\n  \"ProgId\" type 1, 2 bytes: \"x\\x00\"\n"}));

struct RejectedCase {
  const char* label;
  const char* text;
  int line;
};

class RegistryFileRejectedText : public testing::TestWithParam<RejectedCase> {};

TEST_P(RegistryFileRejectedText, StopsAtTheFaultyLine) {
  RegistryTree tree;
  RegistryFileError error;
  EXPECT_FALSE(ParseRegistryFile(GetParam().text, &tree, &error));
  EXPECT_EQ(error.line, GetParam().line);
  EXPECT_FALSE(error.message.empty());
}

// Keys out of the registry's order, a '[' inside a value and a [key] line
// after blanks: a read keeps the wanted key's values and its subkeys' names.
TEST(RegistryFileText, BuildsOnlyWhatTheReadsAskFor) {
  const std::string text =
      "REGEDIT4\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk\\Nerbo\\Deep\\Deeper]\n\"hidden\"=\"x\"\n"
      "[HKEY_CLASSES_ROOT\\Zeta]\n@=\"[HKEY_LOCAL_MACHINE\\\\SOFTWARE\\\\Vesk\\\\Nerbo]\"\n"
      "  [HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk\\Nerbo]\n\"Run\"=\"java\"\n"
      "[HKEY_CLASSES_ROOT\\Alpha]\n@=\"a\"\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\n@=\"o\"\n"
      "[hkey_local_machine\\software\\vesk\\nerbo]\n\"Compile\"=hex(1):6a\n";
  const std::string expected =
      "HKEY_CLASSES_ROOT\nHKEY_LOCAL_MACHINE\nHKEY_LOCAL_MACHINE\\SOFTWARE\nHKEY_LOCAL_"
      "MACHINE\\SOFTWARE\\Vesk\n"
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk\\Nerbo\n"
      "  \"Compile\" type 1, 1 bytes: \"j\"\n"
      "  \"Run\" type 1, 5 bytes: \"java\\x00\"\n"
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk\\Nerbo\\Deep\n";
  RegistryFileText checked;
  RegistryFileError error;
  ASSERT_TRUE(checked.Check(text, &error)) << error.line << ": " << error.message;
  const std::vector<RegistryPath> settings{{kLocalMachine, {"SOFTWARE", "Vesk", "Nerbo"}}};
  RegistryTree focused;
  checked.Build(&settings, &focused);
  EXPECT_EQ(DumpRegistryTree(focused), expected);
  // Opening level by level: each read builds all the keys asked for so far.
  const std::vector<RegistryPath> levels{{kLocalMachine, {"SOFTWARE"}},
                                         {kLocalMachine, {"software", "vesk", "nerbo"}}};
  RegistryTree tree;
  checked.Build(&levels, &tree);
  std::string deeper = expected;
  deeper.insert(deeper.find("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk\n"), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Other\n");
  EXPECT_EQ(DumpRegistryTree(tree), deeper);

  RegistryTree whole;
  checked.Build(nullptr, &whole);
  std::string dump = DumpRegistryTree(whole);
  EXPECT_LT(dump.find("HKEY_CLASSES_ROOT\\Alpha"), dump.find("HKEY_CLASSES_ROOT\\Zeta")) << dump;
  EXPECT_NE(dump.find("\"hidden\""), std::string::npos) << dump;
}

const std::string kTooLongKeyName = "REGEDIT4\n[HKEY_CLASSES_ROOT\\" + std::string(256, 'k') + "]\n";

INSTANTIATE_TEST_SUITE_P(
    Texts, RegistryFileRejectedText,
    testing::Values(
        RejectedCase{"no header", "[HKEY_CLASSES_ROOT\\K]\n", 1},
        RejectedCase{"other header", "Windows Registry Editor Version 5.00\n", 1},
        RejectedCase{"value before any key", "REGEDIT4\n@=\"x\"\n", 2},
        RejectedCase{"unknown root", "REGEDIT4\n[HKEY_USERS\\K]\n", 2},
        RejectedCase{"empty key name", "REGEDIT4\n[HKEY_CLASSES_ROOT\\\\K]\n", 2},
        RejectedCase{"unclosed section", "REGEDIT4\n[HKEY_CLASSES_ROOT\\K\n", 2},
        RejectedCase{"key removal", "REGEDIT4\n[-HKEY_CLASSES_ROOT\\K]\n", 2},
        RejectedCase{"unclosed quote", "REGEDIT4\n[HKEY_CLASSES_ROOT]\n\"v\"=\"abc\n", 3},
        RejectedCase{"unknown escape", "REGEDIT4\n[HKEY_CLASSES_ROOT]\n\"v\"=\"a\\n\"\n", 3},
        RejectedCase{"junk after the string", "REGEDIT4\n[HKEY_CLASSES_ROOT]\n@=\"a\" b\n", 3},
        RejectedCase{"no equals sign", "REGEDIT4\n[HKEY_CLASSES_ROOT]\n\"v\" \"a\"\n", 3},
        RejectedCase{"dword too long", "REGEDIT4\n[HKEY_CLASSES_ROOT]\n@=dword:123456789\n", 3},
        RejectedCase{"odd hex digit", "REGEDIT4\n[HKEY_CLASSES_ROOT]\n@=hex:0\n", 3},
        RejectedCase{"hex ends in a comma", "REGEDIT4\n[HKEY_CLASSES_ROOT]\n@=hex:00,\n", 3},
        RejectedCase{"hex continued past the end", "REGEDIT4\n[HKEY_CLASSES_ROOT]\n@=hex:00,\\\n", 3},
        RejectedCase{"bad byte on a continuation line", "REGEDIT4\n[HKEY_CLASSES_ROOT]\n@=hex:00,\\\n  zz\n",
                     4},
        RejectedCase{"value removal", "REGEDIT4\n[HKEY_CLASSES_ROOT]\n\"v\"=-\n", 3},
        RejectedCase{"unknown data form", "REGEDIT4\n[HKEY_CLASSES_ROOT]\n\"v\"=str:x\n", 3},
        RejectedCase{"control character in a string", "REGEDIT4\n[HKEY_CLASSES_ROOT]\n@=\"a\x01\"\n", 3},
        RejectedCase{"escape at the line end", "REGEDIT4\n[HKEY_CLASSES_ROOT]\n@=\"a\\\n\"\n", 3},
        RejectedCase{"unknown escape in a name", "REGEDIT4\n[HKEY_CLASSES_ROOT]\n\"a\\x\"=\"b\"\n", 3},
        RejectedCase{"carriage return inside a line", "REGEDIT4\n[HKEY_CLASSES_ROOT]\n@=\"a\"\rb\n", 3},
        RejectedCase{"key name too long", kTooLongKeyName.c_str(), 2},
        RejectedCase{"empty name between two", "REGEDIT4\n[HKEY_CLASSES_ROOT\\a\\\\b]\n", 2},
        RejectedCase{"control character in a key name", "REGEDIT4\n[HKEY_CLASSES_ROOT\\a\tb]\n", 2},
        RejectedCase{"fault after lines read in one pass",
                     "REGEDIT4\n[HKEY_CLASSES_ROOT\\K]\n@=\"a\"\n\n\"b\\\\\"=\"c\\\"\"\r\n\r\n\"d\"=\"e\n",
                     7}),
    [](const testing::TestParamInfo<RejectedCase>& c) { return TestName(c.param.label); });

}  // namespace
}  // namespace nerbo
