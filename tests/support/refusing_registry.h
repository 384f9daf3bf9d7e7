// A registry that refuses changes beneath one root, as Windows refuses a
// process without administrator rights: over any other registry, passing
// every other call through.
#pragma once

#include <map>

#include "support/forwarding_registry.h"

namespace nerbo {

enum class Refusal {
  kOpening,   // every key beneath the root: opening for full access is denied, reading is not
  kDeleting,  // keys open, but deleting keys and values beneath the root is denied
};

class RefusingRegistry final : public ForwardingRegistry {
 public:
  RefusingRegistry(Registry& inner, RegKey refused_root, Refusal refusal)
      : ForwardingRegistry(inner), refused_root_(refused_root), refusal_(refusal) {}

  long CreateKey(RegKey parent, const char* name, RegKey* key, bool* created) override;
  long OpenKey(RegKey parent, const char* name, RegKey* key) override;
  long OpenKeyToRead(RegKey parent, const char* name, RegKey* key) override;
  long DeleteValue(RegKey key, const char* name) override;
  long DeleteKey(RegKey parent, const char* name) override;

 private:
  bool Beneath(RegKey key) const;
  long Opened(RegKey parent, long result, RegKey key);

  RegKey refused_root_;
  Refusal refusal_;
  std::map<RegKey, RegKey> root_of_;  // every handle handed out, by its root
};

}  // namespace nerbo
