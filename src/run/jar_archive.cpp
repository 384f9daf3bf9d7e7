#include "run/jar_archive.h"

#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

#include "runtime/portable/ascii.h"

namespace nerbo {
namespace {

// The records of the zip format that lead to the manifest, with the offsets
// of the fields read in each.
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::size_t kEndSize = 22;  // directory size at 12, its offset at 16, comment length at 20
constexpr std::size_t kLongestComment = 0xFFFF;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::size_t kZip64LocatorSize = 20;  // the zip64 end record's offset at 8
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::size_t kZip64EndSize = 56;  // directory size at 40, its offset at 48
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::size_t kCentralSize = 46;  // flags 8, method 10, sizes 20 and 24, name, extra and
                                          // comment lengths 28, 30 and 32, local header offset 42
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kLocalSize = 30;  // name and extra lengths at 26 and 28

constexpr std::uint16_t kZip64ExtraId = 1;
constexpr std::uint32_t kZip64Marker = 0xFFFFFFFF;  // the true value is in the zip64 extra field
constexpr std::uint16_t kEncryptedFlag = 1;
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;

constexpr char kManifestName[] = "META-INF/MANIFEST.MF";
// Deflate adds a few bytes per 16 KB to data it cannot shrink: more
// compressed bytes than this cannot hold a manifest within the limit.
constexpr std::uint64_t kCompressedLimit = kManifestLimit + kManifestLimit / 16;
constexpr std::size_t kChunk = 64 * 1024;

std::uint16_t Get16(const unsigned char* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}
std::uint32_t Get32(const unsigned char* bytes) {
  return Get16(bytes) | static_cast<std::uint32_t>(Get16(bytes + 2)) << 16;
}
std::uint64_t Get64(const unsigned char* bytes) {
  return Get32(bytes) | static_cast<std::uint64_t>(Get32(bytes + 4)) << 32;
}

// Reads pieces of the archive through one buffer, filled a chunk at a time,
// so that walking the directory reads it in a few large reads and stops
// where the manifest is found.
class PieceReader {
 public:
  explicit PieceReader(const ArchiveSource& source) : source_(source) {}

  // The `count` bytes at `offset`, all of them below `limit` (itself within
  // the file), or null with *failure set. Valid until the next call.
  const unsigned char* At(std::uint64_t offset, std::size_t count, std::uint64_t limit,
                          ArchiveFailure* failure) {
    if (offset > limit || count > limit - offset) {
      *failure = ArchiveFailure::kDamaged;
      return nullptr;
    }
    static const unsigned char kNothing = 0;
    if (count == 0) return &kNothing;
    if (offset < start_ || offset + count > start_ + bytes_.size()) {
      bytes_.resize(
          static_cast<std::size_t>(std::min<std::uint64_t>(std::max(count, kChunk), limit - offset)));
      start_ = offset;
      if (!source_.read(offset, bytes_.data(), bytes_.size())) {
        bytes_.clear();
        *failure = ArchiveFailure::kUnreadable;
        return nullptr;
      }
    }
    return bytes_.data() + (offset - start_);
  }

 private:
  const ArchiveSource& source_;
  std::uint64_t start_ = 0;
  std::vector<unsigned char> bytes_;
};

// The central directory's place: it ends where the end record (or the zip64
// end record) starts. Bytes ahead of the archive (a launcher script) shift
// every offset the archive states by `prefix`.
struct Directory {
  std::uint64_t start = 0;
  std::uint64_t end = 0;
  std::uint64_t prefix = 0;
};

struct Entry {
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint64_t compressed = 0;
  std::uint64_t size = 0;
  std::uint64_t local = 0;  // the local header's offset, as stated
};

ArchiveFailure PlaceDirectory(std::uint64_t end, std::uint64_t size, std::uint64_t offset,
                              Directory* directory) {
  if (size > end || offset > end - size) return ArchiveFailure::kDamaged;
  directory->end = end;
  directory->start = end - size;
  directory->prefix = directory->start - offset;
  return ArchiveFailure::kNone;
}

// An archive of more than 65,535 entries or 4 GB states its directory in a
// zip64 end record, found through the locator right before the end record.
// Without a valid one the end record's own fields count.
ArchiveFailure PlaceFromEndRecord(PieceReader& reader, std::uint64_t end_offset, std::uint32_t size,
                                  std::uint32_t offset, Directory* directory) {
  ArchiveFailure failure = ArchiveFailure::kNone;
  if (end_offset >= kZip64LocatorSize) {
    std::uint64_t locator_offset = end_offset - kZip64LocatorSize;
    const unsigned char* locator = reader.At(locator_offset, kZip64LocatorSize, end_offset, &failure);
    if (locator == nullptr) return failure;
    if (Get32(locator) == kZip64LocatorSignature) {
      std::uint64_t record_offset = Get64(locator + 8);
      const unsigned char* record = reader.At(record_offset, kZip64EndSize, locator_offset, &failure);
      if (record != nullptr && Get32(record) == kZip64EndSignature) {
        return PlaceDirectory(record_offset, Get64(record + 40), Get64(record + 48), directory);
      }
      if (failure == ArchiveFailure::kUnreadable) return failure;
    }
  }
  return PlaceDirectory(end_offset, size, offset, directory);
}

bool StartsLikeArchive(PieceReader& reader, std::uint64_t size) {
  ArchiveFailure ignored = ArchiveFailure::kNone;
  const unsigned char* start = reader.At(0, 4, size, &ignored);
  return start != nullptr && Get32(start) == kLocalSignature;
}

// The end record is the last one in the file's final 64 KB whose comment
// fits in what follows it.
ArchiveFailure FindDirectory(PieceReader& reader, std::uint64_t size, Directory* directory) {
  ArchiveFailure failure = ArchiveFailure::kNone;
  std::size_t tail_size = static_cast<std::size_t>(std::min<std::uint64_t>(size, kEndSize + kLongestComment));
  std::uint64_t tail_offset = size - tail_size;
  const unsigned char* tail = reader.At(tail_offset, tail_size, size, &failure);
  if (tail == nullptr) return failure;
  for (std::size_t at = tail_size >= kEndSize ? tail_size - kEndSize + 1 : 0; at-- > 0;) {
    const unsigned char* end = tail + at;
    if (Get32(end) == kEndSignature && at + kEndSize + Get16(end + 20) <= tail_size) {
      return PlaceFromEndRecord(reader, tail_offset + at, Get32(end + 12), Get32(end + 16), directory);
    }
  }
  return StartsLikeArchive(reader, size) ? ArchiveFailure::kDamaged : ArchiveFailure::kNotAnArchive;
}

// Fields that hold the zip64 marker take their values, in order, from the
// zip64 extra field; one missing there keeps the marker, which no bound
// lets through.
void ApplyZip64Extra(const unsigned char* extra, std::size_t length, Entry* entry) {
  for (std::size_t at = 0; at + 4 <= length;) {
    std::size_t data_length = Get16(extra + at + 2);
    if (at + 4 + data_length > length) return;
    if (Get16(extra + at) == kZip64ExtraId) {
      const unsigned char* value = extra + at + 4;
      for (std::uint64_t* field : {&entry->size, &entry->compressed, &entry->local}) {
        if (*field != kZip64Marker || data_length < 8) continue;
        *field = Get64(value);
        value += 8;
        data_length -= 8;
      }
      return;
    }
    at += 4 + data_length;
  }
}

// Walks the directory up to the manifest's entry. The name as written wins
// over one in another letter case, which only a full walk can rule out.
ArchiveFailure FindManifestEntry(PieceReader& reader, const Directory& directory, bool* found, Entry* entry) {
  ArchiveFailure failure = ArchiveFailure::kNone;
  bool exact = false;
  for (std::uint64_t at = directory.start; at < directory.end && !exact;) {
    const unsigned char* header = reader.At(at, kCentralSize, directory.end, &failure);
    if (header == nullptr) return failure;
    if (Get32(header) != kCentralSignature) return ArchiveFailure::kDamaged;
    std::size_t name_length = Get16(header + 28);
    std::size_t extra_length = Get16(header + 30);
    std::size_t record_size = kCentralSize + name_length + extra_length + Get16(header + 32);
    header = reader.At(at, record_size, directory.end, &failure);
    if (header == nullptr) return failure;
    std::string_view name(reinterpret_cast<const char*>(header + kCentralSize), name_length);
    if (EqualsIgnoreCase(name, kManifestName) && (!*found || name == kManifestName)) {
      exact = name == kManifestName;
      *found = true;
      *entry = Entry{Get16(header + 8), Get16(header + 10), Get32(header + 20), Get32(header + 24),
                     Get32(header + 42)};
      ApplyZip64Extra(header + kCentralSize + name_length, extra_length, entry);
    }
    at += record_size;
  }
  return ArchiveFailure::kNone;
}

struct Inflater {
  Inflater() {
    // Raw deflate: the zip entry carries no zlib header.
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) throw std::bad_alloc();
  }
  ~Inflater() { inflateEnd(&stream); }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  z_stream stream{};
};

// Inflates into one byte more than the entry states, so that a stream that
// would go on is caught at its first surplus byte.
ArchiveFailure Inflate(PieceReader& reader, std::uint64_t data, const Entry& entry, std::uint64_t limit,
                       std::string* text) {
  ArchiveFailure failure = ArchiveFailure::kNone;
  Inflater inflater;
  z_stream& stream = inflater.stream;
  text->resize(static_cast<std::size_t>(entry.size) + 1);
  stream.next_out = reinterpret_cast<Bytef*>(&(*text)[0]);
  stream.avail_out = static_cast<uInt>(text->size());
  std::uint64_t consumed = 0;
  int status = Z_OK;
  while (status == Z_OK) {
    if (stream.avail_in == 0) {
      if (consumed == entry.compressed) return ArchiveFailure::kDamaged;
      std::size_t count =
          static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, entry.compressed - consumed));
      stream.next_in = reader.At(data + consumed, count, limit, &failure);
      if (stream.next_in == nullptr) return failure;
      stream.avail_in = static_cast<uInt>(count);
      consumed += count;
    }
    status = inflate(&stream, Z_NO_FLUSH);
    if (stream.total_out > entry.size) return ArchiveFailure::kManifestOverflows;
  }
  if (status != Z_STREAM_END || stream.total_out != entry.size) return ArchiveFailure::kDamaged;
  text->resize(static_cast<std::size_t>(entry.size));
  return ArchiveFailure::kNone;
}

// The entry's data lies after its local header, whose own name and extra
// field may differ in length from the directory's; it must end before the
// directory starts.
ArchiveFailure ReadEntry(PieceReader& reader, const Directory& directory, const Entry& entry,
                         std::string* text) {
  if ((entry.flags & kEncryptedFlag) != 0 || (entry.method != kStored && entry.method != kDeflated)) {
    return ArchiveFailure::kManifestUnsupported;
  }
  if (entry.size > kManifestLimit || entry.compressed > kCompressedLimit)
    return ArchiveFailure::kManifestTooLarge;
  if (entry.local > directory.start - directory.prefix) return ArchiveFailure::kDamaged;
  ArchiveFailure failure = ArchiveFailure::kNone;
  std::uint64_t local_offset = directory.prefix + entry.local;
  const unsigned char* local = reader.At(local_offset, kLocalSize, directory.start, &failure);
  if (local == nullptr) return failure;
  if (Get32(local) != kLocalSignature) return ArchiveFailure::kDamaged;
  std::uint64_t data = local_offset + kLocalSize + Get16(local + 26) + Get16(local + 28);
  if (entry.method == kDeflated) return Inflate(reader, data, entry, directory.start, text);

  if (entry.compressed != entry.size) return ArchiveFailure::kDamaged;
  const unsigned char* stored =
      reader.At(data, static_cast<std::size_t>(entry.size), directory.start, &failure);
  if (stored == nullptr) return failure;
  text->assign(reinterpret_cast<const char*>(stored), static_cast<std::size_t>(entry.size));
  return ArchiveFailure::kNone;
}

ManifestRead Refused(ArchiveFailure failure) {
  ManifestRead result;
  result.failure = failure;
  return result;
}

}  // namespace

ManifestRead ReadManifest(const ArchiveSource& source) {
  PieceReader reader(source);
  Directory directory;
  ArchiveFailure failure = FindDirectory(reader, source.size, &directory);
  if (failure != ArchiveFailure::kNone) return Refused(failure);
  ManifestRead result;
  Entry entry;
  failure = FindManifestEntry(reader, directory, &result.found, &entry);
  if (failure == ArchiveFailure::kNone && result.found)
    failure = ReadEntry(reader, directory, entry, &result.text);
  if (failure != ArchiveFailure::kNone) return Refused(failure);
  result.read = true;
  return result;
}

ManifestRead ReadJarManifest(const std::string& file_name) {
  // The C streams, not the C++ ones, which would bring the whole locale
  // machinery into the program file. Their offsets are a long: 32 bits on
  // Windows, where a jar of 2 GB or more is reported unreadable.
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(file_name.c_str(), "rb"), std::fclose);
  long size = file && std::fseek(file.get(), 0, SEEK_END) == 0 ? std::ftell(file.get()) : -1;
  if (size < 0) return Refused(ArchiveFailure::kUnreadable);
  ArchiveSource source;
  source.size = static_cast<std::uint64_t>(size);
  source.read = [&file](std::uint64_t offset, unsigned char* buffer, std::size_t count) {
    return std::fseek(file.get(), static_cast<long>(offset), SEEK_SET) == 0 &&
           std::fread(buffer, 1, count, file.get()) == count;
  };
  return ReadManifest(source);
}

}  // namespace nerbo
