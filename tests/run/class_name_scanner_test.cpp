#include "run/class_name_scanner.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "run/class_name_reference.h"
#include "support/class_file_bytes.h"

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

}  // namespace
}  // namespace nerbo
