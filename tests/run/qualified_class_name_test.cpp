#include "run/qualified_class_name.h"

#include <gtest/gtest.h>

#include <cstring>

#include "run/own_class_name_reference.h"
#include "support/class_file_bytes.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

// Serves `file` anew for each read and counts the reads and the bytes.
struct CountedReads {
  explicit CountedReads(std::string bytes) : file(std::move(bytes)) {}

  ClassFileReads Reads() {
    return [this]() -> ClassByteSource {
      ++reads;
      auto position = std::make_shared<std::size_t>(0);
      return [this, position](unsigned char* buffer, std::size_t size) -> long {
        std::size_t count = std::min(size, file.size() - *position);
        std::memcpy(buffer, file.data() + *position, count);
        *position += count;
        bytes_read += count;
        return static_cast<long>(count);
      };
    };
  }

  std::string file;
  int reads = 0;
  std::size_t bytes_read = 0;
};

ClassNameResult Read(const std::string& file, const std::string& name) {
  CountedReads counted(file);
  return ReadQualifiedClassName(counted.Reads(), name);
}

void ExpectSame(const ClassNameResult& result, const ClassNameResult& expected) {
  EXPECT_EQ(result.qualified_name, expected.qualified_name);
  EXPECT_EQ(result.package_depth, expected.package_depth);
  EXPECT_EQ(result.jbuilder_note, expected.jbuilder_note);
  EXPECT_EQ(result.own_name, expected.own_name);
  EXPECT_EQ(result.module_descriptor, expected.module_descriptor);
}

ClassNameResult Own(const std::string& qualified_name, int depth, bool note = false, bool module = false) {
  return ClassNameResult{qualified_name, depth, note, true, module};
}

struct OwnNameCase {
  const char* reason;
  std::string file;
  const char* simple_name;
  ClassNameResult expected;
};

std::ostream& operator<<(std::ostream& out, const OwnNameCase& c) { return out << c.reason; }

class OwnNameTable : public testing::TestWithParam<OwnNameCase> {};

TEST_P(OwnNameTable, NamesTheClassTheFileHolds) {
  const OwnNameCase& c = GetParam();
  ExpectSame(Read(c.file, c.simple_name), c.expected);
  ExpectSame(ReferenceClassRunName(c.file, c.simple_name), c.expected);
}

ClassFileBytes Pool() { return ClassFileBytes(); }

INSTANTIATE_TEST_SUITE_P(
    ScanAgrees, OwnNameTable,
    testing::Values(OwnNameCase{"followed by its class reference: the note stays",
                                Pool().Text("pkg/sub/Name").ClassReference(1).EndPool(2).bytes(), "Name",
                                Own("pkg.sub.Name", 2, true)},
                    OwnNameCase{"followed by a text entry",
                                Pool().ClassReference(2).Text("pkg/Name").Text("Code").EndPool(1).bytes(),
                                "Name", Own("pkg.Name", 1)},
                    OwnNameCase{"the default package",
                                Pool().Text("Name").ClassReference(1).EndPool(2).bytes(), "Name",
                                Own("Name", 0)}));

// Where the window scan takes the wrong entry or none, the own name wins.
INSTANTIATE_TEST_SUITE_P(
    ScanMisses, OwnNameTable,
    testing::Values(
        OwnNameCase{"a number constant follows the name",
                    Pool()
                        .Text("java/util/HashMap")
                        .Number(4, std::string("\x3F\x40\x00\x00", 4))
                        .ClassReference(1)
                        .EndPool(3)
                        .bytes(),
                    "HashMap", Own("java.util.HashMap", 2)},
        OwnNameCase{"a text of 256 bytes follows the name",
                    Pool().Text("pkg/Name").Text(std::string(256, 't')).ClassReference(1).EndPool(3).bytes(),
                    "Name", Own("pkg.Name", 1)},
        OwnNameCase{"an index of 256 follows the name",
                    Pool().Text("pkg/Name").ClassReference(256).ClassReference(1).EndPool(3).bytes(), "Name",
                    Own("pkg.Name", 1)},
        OwnNameCase{"a class of the same simple name comes first",
                    Pool()
                        .Text("java/util/Date")
                        .Text("Code")
                        .Text("java/sql/Date")
                        .ClassReference(3)
                        .ClassReference(1)
                        .EndPool(4)
                        .bytes(),
                    "Date", Own("java.sql.Date", 2)},
        OwnNameCase{
            "a string ends with the name",
            Pool().Text("see/Logger").Text("x").Text("org/log/Logger").ClassReference(3).EndPool(4).bytes(),
            "Logger", Own("org.log.Logger", 2)},
        OwnNameCase{"a name of 128 bytes",
                    Pool().Text("p/" + std::string(120, 'a') + "/Names").ClassReference(1).EndPool(2).bytes(),
                    "Names", Own("p." + std::string(120, 'a') + ".Names", 2)},
        OwnNameCase{"a long takes two slots",
                    Pool()
                        .Number(5, std::string(8, '\x01'))
                        .Text("pkg/Name")
                        .Number(6, std::string(8, '\x02'))
                        .ClassReference(3)
                        .EndPool(6)
                        .bytes(),
                    "Name", Own("pkg.Name", 1)},
        OwnNameCase{"a file of another name", Pool().Text("Hello").ClassReference(1).EndPool(2).bytes(),
                    "Hello (1)", Own("Hello", 0)},
        OwnNameCase{"a module's descriptor",
                    Pool().Text("module-info").ClassReference(1).EndPool(2, 0x8000).bytes(), "module-info",
                    Own("module-info", 0, false, true)}));

std::string Patched(std::string bytes, std::size_t at, char byte) {
  bytes[at] = byte;
  return bytes;
}

ClassNameResult Scanned(const std::string& name) { return ClassNameResult{name, 0, false, false, false}; }

// What cannot be read as a class file keeps the window scan's answer.
const std::string kNamed = ClassFileBytes().Text("pkg/Name").ClassReference(1).EndPool(2).bytes();

INSTANTIATE_TEST_SUITE_P(
    NoClassFile, OwnNameTable,
    testing::Values(
        OwnNameCase{"wrong magic", "\xCA\xFE\xBA\xBF" + kNamed.substr(4), "Name",
                    ClassNameResult{"pkg.Name", 1, true, false, false}},
        OwnNameCase{"cut short in the pool", kNamed.substr(0, 23), "Name",
                    ClassNameResult{"pkg.Name", 1, true, false, false}},
        OwnNameCase{"cut short before its own reference", kNamed.substr(0, kNamed.size() - 13), "Name",
                    ClassNameResult{"pkg.Name", 1, true, false, false}},
        OwnNameCase{"an unknown tag",
                    Pool().Raw("\x02").Text("pkg/Name").ClassReference(2).EndPool(3).bytes(), "Name",
                    ClassNameResult{"pkg.Name", 1, true, false, false}},
        OwnNameCase{"its own reference is a text", Pool().Text("pkg/Name").Text("x").EndPool(1).bytes(),
                    "Name", ClassNameResult{"pkg.Name", 1, false, false, false}},
        OwnNameCase{"its own reference is outside the pool",
                    Pool().Text("a/Name").Text("x").EndPool(9).bytes(), "Name",
                    ClassNameResult{"a.Name", 1, false, false, false}},
        OwnNameCase{"the reference names a class reference",
                    Pool().ClassReference(2).ClassReference(1).EndPool(1).bytes(), "Name", Scanned("Name")},
        OwnNameCase{"the reference names the pool's end",
                    Patched(Pool().ClassReference(2).Text("x").EndPool(1).bytes(), 12, 3), "Name",
                    Scanned("Name")},
        OwnNameCase{"the reference names a long's second slot",
                    Pool().ClassReference(3).Number(5, std::string(8, 'x')).EndPool(1).bytes(), "Name",
                    Scanned("Name")},
        OwnNameCase{
            "a long in the last slot",
            Patched(Pool().Text("Name").ClassReference(1).Number(5, std::string(8, 'x')).EndPool(2).bytes(),
                    9, 4),
            "Name", Scanned("Name")},
        OwnNameCase{"an empty name component", Pool().Text("pkg//Name").ClassReference(1).EndPool(2).bytes(),
                    "Name", ClassNameResult{"pkg..Name", 2, true, false, false}},
        OwnNameCase{"an array type", Pool().Text("[Lpkg/Name;").ClassReference(1).EndPool(2).bytes(), "Name",
                    Scanned("Name")},
        OwnNameCase{"a dot in the name", Pool().Text("pkg.Name").ClassReference(1).EndPool(2).bytes(), "Name",
                    Scanned("Name")}));

TEST(ReadQualifiedClassName, ReadsTheFileTwiceAndTheSecondTimeOnlyToTheName) {
  // The class's name sits early in the pool; what follows the pool is long.
  CountedReads counted(Pool().Text("pkg/Name").ClassReference(1).EndPool(2).FillTo(100000).bytes());
  ExpectSame(ReadQualifiedClassName(counted.Reads(), "Other"), Own("pkg.Name", 1));
  EXPECT_EQ(counted.reads, 2);
  // The first read scans all of the file: nothing qualifies for "Other".
  EXPECT_LT(counted.bytes_read, 100000u + 8192u);
}

TEST(ReadQualifiedClassName, ReadsWhatIsNoClassFileOnce) {
  CountedReads counted(std::string(10000, 'x'));
  ExpectSame(ReadQualifiedClassName(counted.Reads(), "Name"), Scanned("Name"));
  EXPECT_EQ(counted.reads, 1);
}

TEST(ReadQualifiedClassName, WalksThePoolOfANameThatCannotQualifyForTheScan) {
  // The scan reads nothing for an empty name; the walk reads on its own.
  ExpectSame(Read(Pool().Text("pkg/Name").ClassReference(1).EndPool(2).bytes(), ""), Own("pkg.Name", 1));
}

TEST(FindQualifiedClassName, ReadsTheFileInBinaryMode) {
  ScopedTempDir directory;
  ScopedCurrentDirectory inside(directory.path());
  // Line ends and a Ctrl+Z ahead of the entry change nothing.
  directory.WriteFile(
      "Name.class",
      ClassFileBytes().Text("a\r\nb\x1A").Text("pkg/sub/Name").ClassReference(2).EndPool(3).bytes());
  ExpectSame(FindQualifiedClassName("Name.class", "Name"), Own("pkg.sub.Name", 2, true));
}

TEST(FindQualifiedClassName, AFileThatCannotBeReadGivesTheSimpleName) {
  ScopedTempDir directory;
  ScopedCurrentDirectory inside(directory.path());
  directory.WriteFile("Empty.class", "");
  ExpectSame(FindQualifiedClassName("Empty.class", "Empty"), Scanned("Empty"));
  ExpectSame(FindQualifiedClassName("Missing.class", "Missing"), Scanned("Missing"));
  std::filesystem::create_directory(directory.path() / "Folder.class");
  ExpectSame(FindQualifiedClassName("Folder.class", "Folder"), Scanned("Folder"));
}

}  // namespace
}  // namespace nerbo
