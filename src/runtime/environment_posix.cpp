#include "runtime/environment.h"

#include <cstdlib>

namespace nerbo {

bool LookUpEnvironment(const char* name, std::string* value) {
  const char* text = std::getenv(name);
  if (text == nullptr) return false;
  *value = text;
  return true;
}

}  // namespace nerbo
