#include "support/crafted_archive.h"

#include <zlib.h>

#include <cstring>
#include <initializer_list>
#include <utility>

namespace nerbo {
namespace {

constexpr std::uint32_t kMarker = 0xFFFFFFFF;

// Appends each value in little-endian order, in as many bytes as it says.
void Put(std::string& out, std::initializer_list<std::pair<int, std::uint64_t>> fields) {
  for (const auto& [width, value] : fields) {
    for (int i = 0; i < width; ++i) out += static_cast<char>(value >> (8 * i));
  }
}

std::string Deflated(const std::string& content) {
  z_stream stream{};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, static_cast<uLong>(content.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
  stream.avail_in = static_cast<uInt>(content.size());
  stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

}  // namespace

std::string ArchiveBytes(const CraftedArchive& archive) {
  std::string out = archive.prefix;
  std::string directory;
  const bool zip64 = archive.zip64;
  for (const CraftedEntry& entry : archive.entries) {
    std::string data = entry.method == 8 ? Deflated(entry.content) : entry.content;
    std::uint64_t size =
        entry.stated_size < 0 ? entry.content.size() : static_cast<std::uint64_t>(entry.stated_size);
    std::uint64_t crc = crc32(0, reinterpret_cast<const Bytef*>(entry.content.data()),
                              static_cast<uInt>(entry.content.size()));
    std::uint64_t local = out.size() - archive.prefix.size();
    bool descriptor = (entry.flags & 8) != 0;
    Put(out, {{4, 0x04034b50},
              {2, 20},
              {2, entry.flags},
              {2, entry.method},
              {4, 0},
              {4, crc},
              {4, descriptor ? 0 : data.size()},
              {4, descriptor ? 0 : size},
              {2, entry.name.size()},
              {2, 0}});
    out += entry.name + data;
    if (descriptor) Put(out, {{4, 0x08074b50}, {4, crc}, {4, data.size()}, {4, size}});
    std::string extra;
    if (zip64) Put(extra, {{2, 1}, {2, 24}, {8, size}, {8, data.size()}, {8, local}});
    Put(directory, {{4, 0x02014b50},
                    {2, 20},
                    {2, 20},
                    {2, entry.flags},
                    {2, entry.method},
                    {4, 0},
                    {4, crc},
                    {4, zip64 ? kMarker : data.size()},
                    {4, zip64 ? kMarker : size},
                    {2, entry.name.size()},
                    {2, extra.size()},
                    {2, 0},
                    {2, 0},
                    {2, 0},
                    {4, 0},
                    {4, zip64 ? kMarker : local}});
    directory += entry.name + extra;
  }
  const std::uint64_t count = archive.entries.size();
  const std::uint64_t directory_offset = out.size() - archive.prefix.size();
  out += directory;
  if (zip64) {
    std::uint64_t record = out.size() - archive.prefix.size();
    Put(out, {{4, 0x06064b50},
              {8, 44},
              {2, 45},
              {2, 45},
              {4, 0},
              {4, 0},
              {8, count},
              {8, count},
              {8, directory.size()},
              {8, directory_offset}});
    Put(out, {{4, 0x07064b50}, {4, 0}, {8, record}, {4, 1}});
  }
  Put(out, {{4, 0x06054b50},
            {2, 0},
            {2, 0},
            {2, zip64 ? 0xFFFF : count},
            {2, zip64 ? 0xFFFF : count},
            {4, zip64 ? kMarker : directory.size()},
            {4, zip64 ? kMarker : directory_offset},
            {2, archive.comment.size()}});
  return out + archive.comment;
}

ArchiveSource MemorySource(const std::string& bytes) {
  ArchiveSource source;
  source.size = bytes.size();
  source.read = [&bytes](std::uint64_t offset, unsigned char* buffer, std::size_t count) {
    if (offset > bytes.size() || count > bytes.size() - offset) return false;
    std::memcpy(buffer, bytes.data() + offset, count);
    return true;
  };
  return source;
}

}  // namespace nerbo
