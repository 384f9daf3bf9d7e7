// Reads the manifest of a Java archive (a zip file) without reading the rest
// of it: the directory is found from the end of the file, walked up to the
// manifest's entry, and only that entry is inflated. Whatever the archive
// states is checked against the file before it is followed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace nerbo {

// The largest manifest read; a larger one is refused, never inflated.
inline constexpr std::uint32_t kManifestLimit = 1u << 20;

enum class ArchiveFailure {
  kNone,
  kUnreadable,           // the file cannot be opened or read
  kNotAnArchive,         // no zip archive at all
  kDamaged,              // cut short, or its records point outside the file or at nothing
  kManifestTooLarge,     // the manifest states more than kManifestLimit bytes
  kManifestOverflows,    // the manifest inflates past the size it states
  kManifestUnsupported,  // the manifest is encrypted or compressed by a method other than deflate
};

struct ManifestRead {
  bool read = false;  // false: `failure` says why
  ArchiveFailure failure = ArchiveFailure::kNone;
  bool found = false;  // the archive holds META-INF/MANIFEST.MF (in any letter case)
  std::string text;    // its bytes, when found
};

// Reads exactly `count` bytes at `offset` of an archive of `size` bytes;
// false when they cannot be read.
struct ArchiveSource {
  std::uint64_t size = 0;
  std::function<bool(std::uint64_t offset, unsigned char* buffer, std::size_t count)> read;
};

ManifestRead ReadManifest(const ArchiveSource& source);

// The same over the file `file_name`, relative to the current directory.
ManifestRead ReadJarManifest(const std::string& file_name);

}  // namespace nerbo
