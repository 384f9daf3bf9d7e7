// Measures how fast the two scanners go through a large input that holds
// nothing they look for, in memory and from a file.
//   scanner_bench [megabytes] [scratch directory]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "compile/package_scanner.h"
#include "run/class_name_scanner.h"
#include "runtime/console.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename Scan>
void Measure(const char* what, std::size_t bytes, Scan scan) {
  Clock::time_point start = Clock::now();
  long result = scan();
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("%-44s %8.0f MB/s  (result %ld, %.3f s)\n", what, bytes / seconds / 1e6, result, seconds);
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

// Bytes of every value; the name's first byte turns up once in 256.
std::string RandomBytes(std::size_t size) {
  std::mt19937 random(7);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

// Code lines without the word the package scanner looks for.
std::string SourceLines(std::size_t size) {
  const std::string line = "    int value = other.field + 42; /* a note */ // more\n";
  std::string text;
  text.reserve(size + line.size());
  while (text.size() < size) text += line;
  return text;
}

long ScanClassBytes(const std::string& file, const std::string& name) {
  std::size_t position = 0;
  nerbo::ClassNameResult result = nerbo::ScanQualifiedClassName(
      [&](unsigned char* buffer, std::size_t size) -> long {
        std::size_t count = std::min(size, file.size() - position);
        std::memcpy(buffer, file.data() + position, count);
        position += count;
        return static_cast<long>(count);
      },
      name);
  return result.package_depth;
}

long ScanSourceText(const std::string& text) {
  std::size_t position = 0;
  nerbo::TextModeReader reader([&]() -> int {
    return position < text.size() ? static_cast<unsigned char>(text[position++]) : nerbo::kEndOfInput;
  });
  return nerbo::ScanPackageDepth(reader);
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t size = static_cast<std::size_t>(argc > 1 ? std::atol(argv[1]) : 100) * 1000 * 1000;
  const std::string directory = argc > 2 ? argv[2] : ".";
  const std::string name = "NotInTheFile";

  const std::string class_bytes = RandomBytes(size);
  const std::string zeros(size, '\0');
  const std::string source = SourceLines(size);

  Measure("class scanner, memory, random bytes", size, [&] { return ScanClassBytes(class_bytes, name); });
  Measure("class scanner, memory, zero bytes", size, [&] { return ScanClassBytes(zeros, name); });
  Measure("package scanner, memory, code lines", size, [&] { return ScanSourceText(source); });

  const std::string class_path = directory + "/scanner_bench.class";
  const std::string source_path = directory + "/scanner_bench.java";
  if (WriteFile(class_path, class_bytes) && WriteFile(source_path, source)) {
    Measure("class scanner, file, random bytes", size,
            [&] { return nerbo::FindQualifiedClassName(class_path.c_str(), name).package_depth; });
    Measure("package scanner, file, code lines", size, [&] { return nerbo::FindPackageDepth(source_path.c_str()); });
  }
  std::remove(class_path.c_str());
  std::remove(source_path.c_str());
  return 0;
}
