#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "runtime/spawn_child.h"

namespace nerbo {

const bool kChildReportsRawLine = false;
const bool kChildCanBeKilled = true;

std::string OwnProgramPath() {
  char path[4096];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

std::vector<std::string> ReceivedArguments() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> arguments;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\0', start)) != std::string::npos; start = end + 1) {
    arguments.push_back(text.substr(start, end - start));
  }
  return arguments;
}

void EndChild(const std::string& how) {
  if (how == "signal") {
    signal(SIGTERM, SIG_DFL);
    raise(SIGTERM);
  }
  _exit(static_cast<int>(std::strtoul(how.c_str(), nullptr, 10)));
}

}  // namespace nerbo
