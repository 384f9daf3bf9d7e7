// Times one scanner over a file as the tool reads it (the file is read anew
// on every pass; after the first it comes from the page cache) and reports
// its throughput and the process's peak resident memory.
//   scanner_bench class FILE SIMPLE_NAME
//   scanner_bench source FILE
//   scanner_bench jar FILE
// Prints: <MB/s> <peak RSS in KiB> <result>; for a jar, the microseconds a
// manifest read takes in place of the throughput, and the manifest's bytes.
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "compile/package_scanner.h"
#include "run/jar_archive.h"
#include "run/qualified_class_name.h"

namespace {

using Clock = std::chrono::steady_clock;

// One pass; gives the package depth found.
int ScanOnce(const char* kind, const char* file, const char* name) {
  if (std::strcmp(kind, "class") == 0) return nerbo::FindQualifiedClassName(file, name).package_depth;
  if (std::strcmp(kind, "jar") == 0) return static_cast<int>(nerbo::ReadJarManifest(file).text.size());
  return nerbo::FindPackageDepth(file);
}

}  // namespace

int main(int argc, char** argv) {
  const bool is_class = argc == 4 && std::strcmp(argv[1], "class") == 0;
  const bool is_source = argc == 3 && std::strcmp(argv[1], "source") == 0;
  const bool is_jar = argc == 3 && std::strcmp(argv[1], "jar") == 0;
  struct stat facts {};
  if ((!is_class && !is_source && !is_jar) || stat(argv[2], &facts) != 0) {
    std::fprintf(stderr, "usage: scanner_bench class FILE SIMPLE_NAME | scanner_bench source|jar FILE\n");
    return 2;
  }
  const char* name = is_class ? argv[3] : nullptr;

  // Enough passes for a quarter of a second, so that small files are timed
  // over many scans and not by the clock's resolution.
  int result = ScanOnce(argv[1], argv[2], name);
  long passes = 0;
  const Clock::time_point start = Clock::now();
  double seconds = 0;
  do {
    result = ScanOnce(argv[1], argv[2], name);
    ++passes;
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  } while (seconds < 0.25);

  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  const double bytes = static_cast<double>(facts.st_size) * static_cast<double>(passes);
  const double speed = is_jar ? seconds / static_cast<double>(passes) * 1e6 : bytes / seconds / 1e6;
  std::printf(is_jar ? "%.1f %ld %d\n" : "%.0f %ld %d\n", speed, usage.ru_maxrss, result);
  return 0;
}
