#include "run/jar_archive.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/crafted_archive.h"

namespace nerbo {
namespace {

using Failure = ArchiveFailure;

const std::string kManifest = "Manifest-Version: 1.0\r\nMain-Class: demo.Echo\r\n\r\n";
const std::string kName = "META-INF/MANIFEST.MF";
const CraftedEntry kStored{kName, kManifest};
const CraftedEntry kDeflated{kName, kManifest, 8};
const CraftedEntry kFolder{"META-INF/", ""};
const CraftedEntry kClass{"demo/Echo.class", std::string(5000, '\xCA'), 8};
const std::string kLarge(70000, 'x');
// Where the directory of an archive of kStored alone starts.
const long kDirectory = static_cast<long>(30 + kName.size() + kManifest.size());

// Overwrites four bytes at `at` (counted from the end when negative).
void Patch(std::string& bytes, long at, std::uint32_t value) {
  std::size_t place = at < 0 ? bytes.size() - static_cast<std::size_t>(-at) : static_cast<std::size_t>(at);
  for (int i = 0; i < 4; ++i) bytes[place + i] = static_cast<char>(value >> (8 * i));
}

struct ReadCase {
  const char* reason;
  CraftedArchive archive;
  std::function<void(std::string&)> damage;  // done to the archive's bytes, when set
  Failure failure;
  bool found;  // the manifest comes back
};

class ReadManifestCase : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadManifestCase, FindsTheManifestOrSaysWhyNot) {
  const ReadCase& c = GetParam();
  std::string bytes = ArchiveBytes(c.archive);
  if (c.damage) c.damage(bytes);
  ManifestRead result = ReadManifest(MemorySource(bytes));
  EXPECT_EQ(result.failure, c.failure);
  EXPECT_EQ(result.read, c.failure == Failure::kNone);
  EXPECT_EQ(result.found, c.found);
  EXPECT_EQ(result.text, c.found ? kManifest : "");
}

const ReadCase kReadCases[] = {
    {"StoredAsTheFirstEntry", {{kStored}}, nullptr, Failure::kNone, true},
    {"DeflatedAfterTheFolderAsTheJarToolWritesIt",
     {{kFolder, kDeflated, kClass}},
     nullptr,
     Failure::kNone,
     true},
    {"AfterTheClasses", {{kClass, kClass, kDeflated}}, nullptr, Failure::kNone, true},
    {"NameInOtherLetterCase", {{{"meta-inf/Manifest.MF", kManifest, 8}}}, nullptr, Failure::kNone, true},
    {"TheNameAsWrittenWinsOverOtherCase",
     {{{"META-INF/manifest.mf", "x"}, kStored}},
     nullptr,
     Failure::kNone,
     true},
    {"SizesInADataDescriptor", {{kFolder, {kName, kManifest, 8, 8}}}, nullptr, Failure::kNone, true},
    {"Zip64Records", {{kFolder, kDeflated, kClass}, "", "", true}, nullptr, Failure::kNone, true},
    {"ALauncherScriptAhead",
     {{kFolder, kDeflated}, "#!/bin/sh\nexec java -jar \"$0\"\n"},
     nullptr,
     Failure::kNone,
     true},
    {"ACommentWithAnEndSignature", {{kDeflated}, "", "PK\x05\x06 not an end"}, nullptr, Failure::kNone, true},
    {"NoManifest", {{kClass}}, nullptr, Failure::kNone, false},
    {"NoEntries", {}, nullptr, Failure::kNone, false},
    {"ATextFile", {}, [](std::string& bytes) { bytes = kManifest; }, Failure::kNotAnArchive, false},
    {"AnEmptyFile", {}, [](std::string& bytes) { bytes.clear(); }, Failure::kNotAnArchive, false},
    {"CutShort",
     {{kFolder, kDeflated}},
     [](std::string& bytes) { bytes.resize(bytes.size() - 10); },
     Failure::kDamaged,
     false},
    {"DirectoryLargerThanTheFile",
     {{kStored}},
     [](std::string& bytes) { Patch(bytes, -10, 0x7FFFFFFF); },
     Failure::kDamaged,
     false},
    {"DirectoryOffsetPastItsPlace",
     {{kStored}},
     [](std::string& bytes) { Patch(bytes, -6, 0x7FFFFFFF); },
     Failure::kDamaged,
     false},
    {"LocalHeaderInsideTheDirectory",
     {{kStored}},
     [](std::string& bytes) { Patch(bytes, kDirectory + 42, 60); },
     Failure::kDamaged,
     false},
    {"DataRunningIntoTheDirectory",
     {{kStored}},
     [](std::string& bytes) {
       Patch(bytes, kDirectory + 20, 90000);
       Patch(bytes, kDirectory + 24, 90000);
     },
     Failure::kDamaged,
     false},
    {"ManifestOver1MB",
     {{{kName, "", 0, 0, kManifestLimit + 1}}},
     nullptr,
     Failure::kManifestTooLarge,
     false},
    {"InflatesPastItsStatedSize",
     {{{kName, kLarge, 8, 0, 100}}},
     nullptr,
     Failure::kManifestOverflows,
     false},
    {"InflatesShortOfItsStatedSize", {{{kName, kManifest, 8, 0, 1000}}}, nullptr, Failure::kDamaged, false},
    {"Encrypted", {{{kName, kManifest, 0, 1}}}, nullptr, Failure::kManifestUnsupported, false},
    {"Bzip2", {{{kName, kManifest, 12}}}, nullptr, Failure::kManifestUnsupported, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReadManifestCase, testing::ValuesIn(kReadCases),
                         [](const testing::TestParamInfo<ReadCase>& param_info) {
                           return param_info.param.reason;
                         });

}  // namespace
}  // namespace nerbo
