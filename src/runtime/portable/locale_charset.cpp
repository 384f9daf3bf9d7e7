#include "runtime/portable/locale_charset.h"

#include <string>

#include "runtime/portable/ascii.h"

namespace nerbo {

bool LocaleWritesUtf8(const char* lc_all, const char* lc_ctype, const char* lang) {
  const char* name = "";
  for (const char* value : {lc_all, lc_ctype, lang}) {
    if (value && *value) {
      name = value;
      break;
    }
  }
  std::string locale = name;
  std::size_t dot = locale.find('.');
  if (dot == std::string::npos) return false;
  std::string codeset = locale.substr(dot + 1, locale.find('@', dot) - dot - 1);
  return EqualsIgnoreCase(codeset, "UTF-8") || EqualsIgnoreCase(codeset, "utf8");
}

}  // namespace nerbo
