// A registry that fails one chosen change, over any other registry: the Nth
// call that would change something (the changes begun, a value written, an
// existing value or a key without subkeys deleted, a new key created, the
// changes committed) is refused and left undone; every other call passes
// through.
#pragma once

#include "support/forwarding_registry.h"

namespace nerbo {

class FaultingRegistry final : public ForwardingRegistry {
 public:
  // `failing_change` counts from 1; 0 fails none.
  FaultingRegistry(Registry& inner, int failing_change)
      : ForwardingRegistry(inner), failing_change_(failing_change) {}

  // How many changes were asked for, the failed one included.
  int changes() const { return changes_; }
  bool failed() const { return failing_change_ > 0 && changes_ >= failing_change_; }

  long CreateKey(RegKey parent, const char* name, RegKey* key, bool* created) override;
  long SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                std::uint32_t size) override;
  long DeleteValue(RegKey key, const char* name) override;
  long DeleteKey(RegKey parent, const char* name) override;
  long BeginChanges() override;
  long CommitChanges() override;

 private:
  // Counts one change; true when it is the one to fail.
  bool Fails() { return ++changes_ == failing_change_; }

  int failing_change_;
  int changes_ = 0;
};

}  // namespace nerbo
