#include "run/jar_archive.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/crafted_archive.h"

namespace nerbo {
namespace {

const std::string kManifest = "Manifest-Version: 1.0\r\nMain-Class: demo.Echo\r\n\r\n";
const CraftedEntry kStored{"META-INF/MANIFEST.MF", kManifest};
const CraftedEntry kDeflated{"META-INF/MANIFEST.MF", kManifest, 8};
const CraftedEntry kFolder{"META-INF/", ""};
const CraftedEntry kClass{"demo/Echo.class", std::string(5000, '\xCA'), 8};

std::string Bytes(const CraftedArchive& archive) { return ArchiveBytes(archive); }

// Overwrites four bytes at `at` (counted from the end when negative).
std::string Patched(std::string bytes, long at, std::uint32_t value) {
  std::size_t place = at < 0 ? bytes.size() - static_cast<std::size_t>(-at) : static_cast<std::size_t>(at);
  for (int i = 0; i < 4; ++i) bytes[place + i] = static_cast<char>(value >> (8 * i));
  return bytes;
}

struct ReadCase {
  const char* reason;
  std::function<std::string()> bytes;
  ArchiveFailure failure;
  const char* manifest;  // null: read, and no manifest found
};

class ReadManifestCase : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadManifestCase, FindsTheManifestOrSaysWhyNot) {
  const ReadCase& c = GetParam();
  std::string bytes = c.bytes();
  ManifestRead result = ReadManifest(MemorySource(bytes));
  EXPECT_EQ(result.failure, c.failure);
  EXPECT_EQ(result.read, c.failure == ArchiveFailure::kNone);
  EXPECT_EQ(result.found, c.failure == ArchiveFailure::kNone && c.manifest != nullptr);
  EXPECT_EQ(result.text, c.manifest && c.failure == ArchiveFailure::kNone ? c.manifest : "");
}

const std::string kLarge(70000, 'x');
// Where the directory of an archive of kStored alone starts.
const long kDirectoryOfOne = static_cast<long>(30 + kStored.name.size() + kManifest.size());
const ReadCase kReadCases[] = {
    {"StoredAsTheFirstEntry", [] { return Bytes({{kStored}}); }, ArchiveFailure::kNone, kManifest.c_str()},
    {"DeflatedAfterOtherEntriesAsTheJarToolWritesIt",
     [] {
       return Bytes({{kFolder, kDeflated, kClass}});
     },
     ArchiveFailure::kNone, kManifest.c_str()},
    {"AfterTheClasses",
     [] {
       return Bytes({{kClass, kClass, kDeflated}});
     },
     ArchiveFailure::kNone, kManifest.c_str()},
    {"NameInOtherLetterCase",
     [] {
       return Bytes({{{"meta-inf/Manifest.MF", kManifest, 8}}});
     },
     ArchiveFailure::kNone, kManifest.c_str()},
    {"TheNameAsWrittenWinsOverOtherCase",
     [] {
       return Bytes({{{"META-INF/manifest.mf", "x", 0}, kStored}});
     },
     ArchiveFailure::kNone, kManifest.c_str()},
    {"SizesInADataDescriptor",
     [] {
       return Bytes({{kFolder, {kDeflated.name, kManifest, 8, 8}}});
     },
     ArchiveFailure::kNone, kManifest.c_str()},
    {"Zip64Records",
     [] {
       return Bytes({{kFolder, kDeflated, kClass}, "", "", true});
     },
     ArchiveFailure::kNone, kManifest.c_str()},
    {"ALauncherScriptAhead",
     [] {
       return Bytes({{kFolder, kDeflated}, "#!/bin/sh\nexec java -jar \"$0\"\n"});
     },
     ArchiveFailure::kNone, kManifest.c_str()},
    {"ACommentBehindThatHoldsAnEndSignature",
     [] {
       return Bytes({{kDeflated}, "", "PK\x05\x06 not an end"});
     },
     ArchiveFailure::kNone, kManifest.c_str()},
    {"NoManifest", [] { return Bytes({{kClass}}); }, ArchiveFailure::kNone, nullptr},
    {"NoEntries", [] { return Bytes({}); }, ArchiveFailure::kNone, nullptr},
    {"ATextFile", [] { return kManifest; }, ArchiveFailure::kNotAnArchive, nullptr},
    {"AnEmptyFile", [] { return std::string(); }, ArchiveFailure::kNotAnArchive, nullptr},
    {"CutShort",
     [] {
       std::string whole = Bytes({{kFolder, kDeflated, kClass}});
       return whole.substr(0, whole.size() - 10);
     },
     ArchiveFailure::kDamaged, nullptr},
    {"DirectoryLargerThanTheFile", [] { return Patched(Bytes({{kStored}}), -10, 0x7FFFFFFF); },
     ArchiveFailure::kDamaged, nullptr},
    {"DirectoryOffsetPastItsPlace", [] { return Patched(Bytes({{kStored}}), -6, 0x7FFFFFFF); },
     ArchiveFailure::kDamaged, nullptr},
    {"LocalHeaderInsideTheDirectory", [] { return Patched(Bytes({{kStored}}), kDirectoryOfOne + 42, 60); },
     ArchiveFailure::kDamaged, nullptr},
    {"DataRunningIntoTheDirectory",
     [] {
       return Patched(Patched(Bytes({{kStored}}), kDirectoryOfOne + 20, 90000), kDirectoryOfOne + 24, 90000);
     },
     ArchiveFailure::kDamaged, nullptr},
    {"ManifestOver1MB",
     [] {
       return Bytes({{{kStored.name, "", 0, 0, kManifestLimit + 1}}});
     },
     ArchiveFailure::kManifestTooLarge, nullptr},
    {"InflatesPastItsStatedSize",
     [] {
       return Bytes({{{kStored.name, kLarge, 8, 0, 100}}});
     },
     ArchiveFailure::kManifestOverflows, nullptr},
    {"InflatesShortOfItsStatedSize",
     [] {
       return Bytes({{{kStored.name, kManifest, 8, 0, 1000}}});
     },
     ArchiveFailure::kDamaged, nullptr},
    {"Encrypted",
     [] {
       return Bytes({{{kStored.name, kManifest, 0, 1}}});
     },
     ArchiveFailure::kManifestUnsupported, nullptr},
    {"Bzip2",
     [] {
       return Bytes({{{kStored.name, kManifest, 12}}});
     },
     ArchiveFailure::kManifestUnsupported, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReadManifestCase, testing::ValuesIn(kReadCases),
                         [](const testing::TestParamInfo<ReadCase>& param_info) {
                           return param_info.param.reason;
                         });

}  // namespace
}  // namespace nerbo
