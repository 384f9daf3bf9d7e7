// Checks the jar manifest reader and the Main-Class parser on hostile bytes:
// the input read as an archive must give a manifest within the limit or a
// refusal, and never reach outside the input; the input put as the manifest
// into a well-formed archive (stored or deflated, zip64, data descriptors or
// a script ahead, as byte 0 picks) must come back byte for byte.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "run/jar_archive.h"
#include "run/jar_manifest.h"
#include "support/crafted_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  nerbo::ManifestRead hostile = nerbo::ReadManifest(nerbo::MemorySource(input));
  NERBO_FUZZ_CHECK(hostile.text.size() <= nerbo::kManifestLimit);
  NERBO_FUZZ_CHECK(hostile.read || hostile.text.empty());
  NERBO_FUZZ_CHECK(nerbo::MainClassOf(hostile.text).find_first_of("\r\n") == std::string::npos);
  NERBO_FUZZ_CHECK(nerbo::MainClassOf(input).find_first_of("\r\n") == std::string::npos);

  if (size == 0) return 0;
  const std::uint8_t knobs = data[0];
  nerbo::CraftedArchive archive;
  archive.entries = {{"META-INF/", ""},
                     {"META-INF/MANIFEST.MF", input.substr(1), static_cast<std::uint16_t>(knobs & 1 ? 8 : 0),
                      static_cast<std::uint16_t>(knobs & 2 ? 8 : 0)},
                     {"demo/Main.class", input, 8}};
  archive.zip64 = (knobs & 4) != 0;
  if (!archive.zip64 && (knobs & 8) != 0) archive.prefix = "#!/bin/sh\nexec java -jar \"$0\" \"$@\"\n";
  const std::string bytes = nerbo::ArchiveBytes(archive);
  nerbo::ManifestRead made = nerbo::ReadManifest(nerbo::MemorySource(bytes));
  NERBO_FUZZ_CHECK(made.read && made.found && made.text == input.substr(1));
  return 0;
}
