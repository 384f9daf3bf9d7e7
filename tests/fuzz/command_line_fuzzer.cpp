// The splitter reads any text without passing its end, and arguments that
// hold no blank, tab or double quote come back unchanged from a join and a
// split. The input is read twice: as one command line, and as arguments
// separated by zero bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "runtime/portable/command_line.h"

namespace {

bool SurvivesJoin(const std::string& argument) {
  return !argument.empty() && argument.find_first_of(" \t\"") == std::string::npos;
}

void CheckRoundTrip(const std::vector<std::string>& arguments) {
  bool all_survive = true;
  for (const std::string& argument : arguments) all_survive = all_survive && SurvivesJoin(argument);
  if (all_survive)
    NERBO_FUZZ_CHECK(nerbo::SplitArguments(nerbo::JoinArguments(arguments).c_str()) == arguments);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const char* line = bytes.c_str();
  const std::size_t length = std::strlen(line);

  const char* rest = nerbo::SkipProgramName(line);
  NERBO_FUZZ_CHECK(rest >= line && rest <= line + length);
  const std::vector<std::string> arguments = nerbo::SplitArguments(rest);
  std::size_t kept = 0;
  for (const std::string& argument : arguments) kept += argument.size();
  NERBO_FUZZ_CHECK(kept <= static_cast<std::size_t>(line + length - rest));
  CheckRoundTrip(arguments);

  std::vector<std::string> pieces;
  for (std::size_t start = 0; start <= size;) {
    std::size_t end = bytes.find('\0', start);
    if (end == std::string::npos) end = size;
    pieces.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  CheckRoundTrip(pieces);
  return 0;
}
