#include "runtime/portable/command_line.h"

namespace nerbo {
namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

const char* SkipProgramName(const char* p) {
  while (IsBlank(*p)) ++p;
  if (*p == '"') {
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p != '\0' && !IsBlank(*p)) ++p;
  }
  return p;
}

std::vector<std::string> SplitArguments(const char* p) {
  std::vector<std::string> arguments;
  for (;;) {
    while (IsBlank(*p)) ++p;
    if (*p == '\0') return arguments;
    std::string argument;
    bool quoted = false;
    for (; *p != '\0' && (quoted || !IsBlank(*p)); ++p) {
      if (*p == '\\' && p[1] == '"') {
        argument += '"';
        ++p;
      } else if (*p == '"') {
        quoted = !quoted;
      } else {
        argument += *p;
      }
    }
    arguments.push_back(std::move(argument));
  }
}

std::string JoinArguments(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    line += argument;
    line += ' ';
  }
  if (!line.empty()) line.pop_back();
  return line;
}

}  // namespace nerbo
