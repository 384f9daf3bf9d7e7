#include "run/class_name_scanner.h"
#include "run/qualified_class_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "run/class_name_reference.h"
#include "support/class_file_bytes.h"
#include "support/scoped_temp_dir.h"

namespace nerbo {
namespace {

// Serves `file` as a byte source and records the size of every read asked.
struct MemorySource {
  explicit MemorySource(std::string bytes) : file(std::move(bytes)) {}

  ClassByteSource Source() {
    return [this](unsigned char* buffer, std::size_t size) -> long {
      reads.push_back(size);
      std::size_t count = std::min(size, file.size() - position);
      std::memcpy(buffer, file.data() + position, count);
      position += count;
      return static_cast<long>(count);
    };
  }

  std::string file;
  std::size_t position = 0;
  std::vector<std::size_t> reads;
};

ClassNameResult Scan(const std::string& file, const std::string& name) {
  MemorySource memory(file);
  return ScanQualifiedClassName(memory.Source(), name);
}

void ExpectResult(const ClassNameResult& result, const std::string& name, int depth, bool note) {
  EXPECT_EQ(result.qualified_name, name);
  EXPECT_EQ(result.package_depth, depth);
  EXPECT_EQ(result.jbuilder_note, note);
}

struct EntryCase {
  const char* reason;
  std::string file;
  const char* simple_name;
  std::string qualified_name;
  int depth;
  bool note;
};

std::ostream& operator<<(std::ostream& out, const EntryCase& c) { return out << c.reason; }

class EntryTable : public testing::TestWithParam<EntryCase> {};

TEST_P(EntryTable, FindsTheQualifyingEntry) {
  const EntryCase& c = GetParam();
  ExpectResult(Scan(c.file, c.simple_name), c.qualified_name, c.depth, c.note);
  ExpectResult(ReferenceQualifiedClassName(c.file, c.simple_name), c.qualified_name, c.depth, c.note);
}

std::string Name127() { return "q/" + std::string(120, 'a') + "/Name"; }

INSTANTIATE_TEST_SUITE_P(
    Entries, EntryTable,
    testing::Values(
        EntryCase{"followed by a text entry", ClassFileBytes().Text("pkg/sub/Name").Text("Code").bytes(),
                  "Name", "pkg.sub.Name", 2, false},
        EntryCase{"followed by a class reference",
                  ClassFileBytes().Text("pkg/sub/Name").ClassReference(5).bytes(), "Name", "pkg.sub.Name", 2,
                  true},
        EntryCase{"followed by an index of 256",
                  ClassFileBytes().Text("pkg/sub/Name").ClassReference(256).bytes(), "Name", "Name", 0,
                  false},
        EntryCase{"a later entry qualifies",
                  ClassFileBytes()
                      .Text("pkg/sub/Name")
                      .Text(std::string(300, 'c'))
                      .Text("other/Name")
                      .Text("x")
                      .bytes(),
                  "Name", "other.Name", 1, false},
        EntryCase{"default package",
                  ClassFileBytes().Text("Name").ClassReference(1).Text("Name.java").bytes(), "Name", "Name",
                  0, false},
        EntryCase{"the first of two wins",
                  ClassFileBytes().Text("a/b/Name").Text("Code").Text("c/Name").Text("x").bytes(), "Name",
                  "a.b.Name", 2, false},
        EntryCase{
            "descriptor and file name fail the zero test",
            ClassFileBytes().Text("Lpkg/Name;").Text("Name.java").Text("q/Name").ClassReference(2).bytes(),
            "Name", "q.Name", 1, true},
        EntryCase{"a longer last component", ClassFileBytes().Text("pkg/XName").Text("x").bytes(), "Name",
                  "Name", 0, false},
        EntryCase{"letter case counts", ClassFileBytes().Text("pkg/name").Text("x").bytes(), "Name", "Name",
                  0, false},
        EntryCase{"length byte disagrees",
                  ClassFileBytes().Raw(std::string("\x01\x00\x09pkg/Name", 12)).Text("x").bytes(), "Name",
                  "Name", 0, false},
        EntryCase{"127 bytes is the longest", ClassFileBytes().Text(Name127()).Text("x").bytes(), "Name",
                  "q." + std::string(120, 'a') + ".Name", 2, false},
        EntryCase{"128 bytes read as negative", ClassFileBytes().Text(Name127() + "e").Text("x").bytes(),
                  "Namee", "Namee", 0, false},
        EntryCase{"test bytes past the end of the file",
                  ClassFileBytes().Text("pkg/Name").Raw("\x01").bytes(), "Name", "Name", 0, false}));

TEST(ClassNameScanner, NamesThatCannotQualifyReadNothing) {
  std::string file = ClassFileBytes().Text("p/" + std::string(128, 'n')).Text("p/").Text("x").bytes();
  for (const std::string& name : {std::string(), std::string(128, 'n'), std::string("p/\0", 3)}) {
    MemorySource memory(file);
    ExpectResult(ScanQualifiedClassName(memory.Source(), name), name, 0, false);
    EXPECT_TRUE(memory.reads.empty()) << name.size();
  }
}

TEST(ClassNameScanner, FindsAnEntryWhereverTheWindowEdgesCutIt) {
  // Windows start at 0, 4000, 8000: walk the entry over the first two edges.
  for (std::size_t offset = 3950; offset < 8300; offset += 3) {
    std::string file =
        ClassFileBytes().FillTo(offset).Text("pkg/sub/Name").Text("Code").FillTo(offset + 400).bytes();
    ExpectResult(Scan(file, "Name"), "pkg.sub.Name", 2, false);
  }
}

TEST(ClassNameScanner, StopsReadingAtTheFind) {
  MemorySource memory(ClassFileBytes().FillTo(5000).Text("pkg/Name").Text("x").FillTo(20000).bytes());
  ExpectResult(ScanQualifiedClassName(memory.Source(), "Name"), "pkg.Name", 1, false);
  EXPECT_EQ(memory.reads, (std::vector<std::size_t>{4200, 4000}));
}

TEST(ClassNameScanner, AFileOfExactly4200BytesIsReadOnceMore) {
  // The entry's last test byte would be the file's byte 4200, which it lacks.
  ClassFileBytes bytes;
  bytes.FillTo(4200 - 11).Text("pkg/Name");
  ASSERT_EQ(bytes.size(), 4200u);
  MemorySource memory(bytes.bytes());
  ExpectResult(ScanQualifiedClassName(memory.Source(), "Name"), "Name", 0, false);
  EXPECT_EQ(memory.reads, (std::vector<std::size_t>{4200, 4000}));
}

TEST(ClassNameScanner, IgnoresBytesLeftFromTheWindowBefore) {
  // The last window holds 300 bytes and ends with the name; its next two
  // positions still hold the window before's bytes, a tag and a zero.
  ClassFileBytes bytes;
  bytes.FillTo(4300).Raw(std::string("\x01\x00", 2)).FillTo(8290).Raw(std::string("\x00\x08pkg/Name", 10));
  ASSERT_EQ(bytes.size(), 8300u);
  ExpectResult(Scan(bytes.bytes(), "Name"), "Name", 0, false);
}

TEST(ClassNameScanner, AMatchAtAWindowsSecondByteIsNotItsOwnLength) {
  // In the second window, the '/' stands at position 0 and the name's first
  // byte (5, one less than its length) at position 1, where the walk back
  // would take it for the entry's length byte.
  const std::string name(
      "\x05"
      "abcde",
      6);
  std::string file = ClassFileBytes().FillTo(4000).Raw("/" + name).Text("x").FillTo(4500).bytes();
  ExpectResult(Scan(file, name), name, 0, false);
}

TEST(ClassNameScanner, AFailedReadEndsTheScan) {
  std::vector<std::size_t> reads;
  std::string window(4200, 'x');
  auto failing_later = [&](unsigned char* buffer, std::size_t size) -> long {
    reads.push_back(size);
    if (reads.size() > 1) return -1;
    std::memcpy(buffer, window.data(), size);
    return static_cast<long>(size);
  };
  ExpectResult(ScanQualifiedClassName(failing_later, "Name"), "Name", 0, false);
  EXPECT_EQ(reads, (std::vector<std::size_t>{4200, 4000}));

  reads.clear();
  auto failing_at_once = [&](unsigned char*, std::size_t size) -> long {
    reads.push_back(size);
    return -1;
  };
  ExpectResult(ScanQualifiedClassName(failing_at_once, "Name"), "Name", 0, false);
  EXPECT_EQ(reads.size(), 1u);
}

TEST(ClassNameScanner, AgreesWithTheReferenceOnRandomBytes) {
  // A small alphabet of tags, zeros, separators and name letters makes
  // near-misses of every test frequent.
  const char alphabet[] = {0, 1, 7, 2, 3, '/', '/', 'N', 'a', 'x'};
  const char* names[] = {"N", "Na", "aNa", "NN"};
  std::mt19937 random(20240601);
  int found = 0;
  for (int round = 0; round < 1000; ++round) {
    std::string file(random() % 9000, '\0');
    for (char& byte : file) byte = alphabet[random() % sizeof(alphabet)];
    const std::string name = names[random() % 4];
    ClassNameResult fast = Scan(file, name);
    ClassNameResult reference = ReferenceQualifiedClassName(file, name);
    ASSERT_EQ(fast.qualified_name, reference.qualified_name) << round;
    ASSERT_EQ(fast.package_depth, reference.package_depth) << round;
    ASSERT_EQ(fast.jbuilder_note, reference.jbuilder_note) << round;
    if (fast.qualified_name != name) ++found;
  }
  EXPECT_GT(found, 40);  // the comparison must also cover accepted entries
}

struct OwnNameCase {
  const char* reason;
  std::string file;
  std::string simple_name;
  std::string qualified_name;
  int depth;
  bool note;
  bool own;  // the class file's own name, where the scan's answer is kept otherwise
};

std::ostream& operator<<(std::ostream& out, const OwnNameCase& c) { return out << c.reason; }

class OwnNameTable : public testing::TestWithParam<OwnNameCase> {};

// The class run's name, from two reads of the file at most; the plain
// reference agrees.
TEST_P(OwnNameTable, NamesTheClassTheFileHolds) {
  const OwnNameCase& c = GetParam();
  MemorySource memory(c.file);
  int reads = 0;
  auto read_anew = [&] {
    ++reads;
    memory.position = 0;
    return memory.Source();
  };
  for (const ClassNameResult& result :
       {ReadQualifiedClassName(read_anew, c.simple_name), ReferenceClassRunName(c.file, c.simple_name)}) {
    ExpectResult(result, c.qualified_name, c.depth, c.note);
    EXPECT_EQ(result.own_name, c.own);
  }
  EXPECT_LE(reads, 2);
}

ClassFileBytes Pool() { return ClassFileBytes(); }
const std::string kLong(8, 'x');

INSTANTIATE_TEST_SUITE_P(
    OwnNames, OwnNameTable,
    testing::Values(
        OwnNameCase{"the scan finds it: its note stays",
                    Pool().Text("p/Name").ClassReference(1).EndPool(2).bytes(), "Name", "p.Name", 1, true,
                    true},
        // The byte scan took another name or none here.
        OwnNameCase{"a number follows it",
                    Pool().Text("java/util/Map").Number(4, "\x3F\x40xx").ClassReference(1).EndPool(3).bytes(),
                    "Map", "java.util.Map", 2, false, true},
        OwnNameCase{"a text of 256 bytes follows it",
                    Pool().Text("p/Name").Text(std::string(256, 't')).ClassReference(1).EndPool(3).bytes(),
                    "Name", "p.Name", 1, false, true},
        OwnNameCase{"an index of 256 follows it",
                    Pool().Text("p/Name").ClassReference(256).ClassReference(1).EndPool(3).bytes(), "Name",
                    "p.Name", 1, false, true},
        OwnNameCase{"another class of its simple name comes first",
                    Pool()
                        .Text("java/util/Date")
                        .Text("x")
                        .Text("java/sql/Date")
                        .ClassReference(3)
                        .EndPool(4)
                        .bytes(),
                    "Date", "java.sql.Date", 2, false, true},
        OwnNameCase{
            "its reference comes first, a long before it",
            Pool().ClassReference(4).Number(5, kLong).Text("p/" + std::string(126, 'q')).EndPool(1).bytes(),
            std::string(126, 'q'), "p." + std::string(126, 'q'), 1, false, true},
        OwnNameCase{"a character beyond U+FFFF, stored as two halves",
                    Pool().Text("p/\xED\xA0\xB5\xED\xB2\x9C").ClassReference(1).EndPool(2).bytes(),
                    "\xF0\x9D\x92\x9C", "p.\xF0\x9D\x92\x9C", 1, false, true},
        OwnNameCase{"a half without its other",
                    Pool().Text("p/\xED\xA0\xB5x").ClassReference(1).EndPool(2).bytes(), "x", "x", 0, false,
                    false},
        OwnNameCase{"an encoded zero", Pool().Text("p/N\xC0\x80").ClassReference(1).EndPool(2).bytes(),
                    "Name", "Name", 0, false, false},
        // What is no class file keeps the scan's answer.
        OwnNameCase{"wrong magic",
                    "\xCA\xFE\xBA\xBF" + Pool().Text("p/Name").ClassReference(1).EndPool(2).bytes().substr(4),
                    "Name", "p.Name", 1, true, false},
        OwnNameCase{"cut short", Pool().Text("p/Name").Text("x").ClassReference(1).bytes(), "Name", "p.Name",
                    1, false, false},
        OwnNameCase{"an unknown tag", Pool().Raw("\x02").Text("p/Name").ClassReference(2).EndPool(3).bytes(),
                    "Name", "p.Name", 1, true, false},
        OwnNameCase{
            "a long in the pool's last slot",
            Pool().Text("Name").ClassReference(1).Number(5, kLong).EndPool(2).bytes().replace(9, 1, "\x04"),
            "Name", "Name", 0, false, false},
        OwnNameCase{"a name not in internal form",
                    Pool().Text("p//Name").ClassReference(1).EndPool(2).bytes(), "Name", "p..Name", 2, true,
                    false}));

TEST(ReadQualifiedClassName, TellsAModulesDescriptor) {
  MemorySource memory(Pool().Text("module-info").ClassReference(1).EndPool(2, 0x8000).bytes());
  auto read_anew = [&] {
    memory.position = 0;
    return memory.Source();
  };
  EXPECT_TRUE(ReadQualifiedClassName(read_anew, "module-info").module_descriptor);
}

TEST(FindQualifiedClassName, ReadsTheFileInBinaryMode) {
  ScopedTempDir directory;
  ScopedCurrentDirectory inside(directory.path());
  // Line ends and a Ctrl+Z ahead of the entry change nothing.
  directory.WriteFile("Name.class",
                      ClassFileBytes().Text("a\r\nb\x1A").Text("pkg/sub/Name").ClassReference(3).bytes());
  ExpectResult(FindQualifiedClassName("Name.class", "Name"), "pkg.sub.Name", 2, true);
}

TEST(FindQualifiedClassName, AFileThatCannotBeReadGivesTheSimpleName) {
  ScopedTempDir directory;
  ScopedCurrentDirectory inside(directory.path());
  directory.WriteFile("Empty.class", "");
  ExpectResult(FindQualifiedClassName("Empty.class", "Empty"), "Empty", 0, false);
  ExpectResult(FindQualifiedClassName("Missing.class", "Missing"), "Missing", 0, false);
  std::filesystem::create_directory(directory.path() / "Folder.class");
  ExpectResult(FindQualifiedClassName("Folder.class", "Folder"), "Folder", 0, false);
}

}  // namespace
}  // namespace nerbo
