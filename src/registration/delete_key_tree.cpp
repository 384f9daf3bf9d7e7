#include "registration/delete_key_tree.h"

#include <string>
#include <vector>

namespace nerbo {

long DeleteKeyTree(Registry& registry, RegKey parent, const char* name) {
  long first_failure = kRegSuccess;
  RegKey key = 0;
  std::uint32_t subkeys = 0;
  std::uint32_t longest = 0;
  if (registry.OpenKey(parent, name, &key) == kRegSuccess &&
      registry.QueryInfoKey(key, &subkeys, &longest) == kRegSuccess) {
    std::vector<char> subkey_name(static_cast<std::size_t>(longest) + 1);
    for (std::uint32_t index = subkeys; index-- > 0;) {
      std::uint32_t length = longest + 1;
      if (registry.EnumKey(key, index, subkey_name.data(), &length) != kRegSuccess) continue;
      std::string subkey(subkey_name.data(), length < longest ? length : longest);
      long result = DeleteKeyTree(registry, key, subkey.c_str());
      if (result != kRegSuccess && result != kRegFileNotFound && first_failure == kRegSuccess) {
        first_failure = result;
      }
    }
  }
  long result = registry.DeleteKey(parent, name);
  return first_failure != kRegSuccess ? first_failure : result;
}

}  // namespace nerbo
