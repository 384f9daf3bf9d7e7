// Zip archives put together byte by byte, laid out as the jar tool and other
// zip writers lay them out, with the knobs that crafted archives turn; and
// an archive source over bytes in memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "run/jar_archive.h"

namespace nerbo {

struct CraftedEntry {
  std::string name;
  std::string content;
  std::uint16_t method = 0;       // 8: deflated; any other: the content as it is
  std::uint16_t flags = 0;        // 8: sizes in a data descriptor after the data, zero in the local header
  std::int64_t stated_size = -1;  // the size the headers state, when not the content's
};

struct CraftedArchive {
  std::vector<CraftedEntry> entries;
  std::string prefix;   // bytes ahead of the archive, which its offsets do not count
  std::string comment;  // after the end record
  bool zip64 = false;   // zip64 end records; sizes and offsets only in the entries' zip64 fields
};

std::string ArchiveBytes(const CraftedArchive& archive);

ArchiveSource MemorySource(const std::string& bytes);

}  // namespace nerbo
