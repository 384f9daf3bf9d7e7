#include "core/message_code.h"

#include <utility>

namespace nerbo {
namespace {

CodeEnding& Ending() {
  static CodeEnding ending;
  return ending;
}

}  // namespace

void SetCodeEnding(CodeEnding ending) { Ending() = std::move(ending); }

void RaiseMessageCode(int code) {
  if (CodeEnding ending = std::exchange(Ending(), nullptr)) ending(code);
  throw MessageCode{code};
}

}  // namespace nerbo
