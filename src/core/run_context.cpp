#include "core/run_context.h"

#include <cstdlib>

#include "runtime/portable/path.h"

namespace nerbo {

std::string ArgumentStringFrom(const std::vector<std::string>& arguments, std::size_t first) {
  std::string joined;
  for (std::size_t i = first; i < arguments.size(); ++i) joined += arguments[i] + ' ';
  return joined.substr(0, kArgumentStringLimit);
}

std::string TargetFileName(const RunContext& context) {
  return MergePath("", "", context.name, context.extension, context.conventions.dir_separator);
}

void RaiseMessageCode(const RunContext& context, int code) {
  context.end(code);
  // An ending that returns would let the mode go on past its end.
  std::abort();
}

}  // namespace nerbo
