#include "core/run_context.h"

#include <cstdlib>

namespace nerbo {

std::string ArgumentStringFrom(const std::vector<std::string>& arguments, std::size_t first) {
  std::string joined;
  for (std::size_t i = first; i < arguments.size(); ++i) joined += arguments[i] + ' ';
  return joined.substr(0, kArgumentStringLimit);
}

void RaiseMessageCode(const RunContext& context, int code) {
  context.end(code);
  // An ending that returns would let the mode go on past its end.
  std::abort();
}

}  // namespace nerbo
