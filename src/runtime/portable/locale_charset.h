// Whether the user's locale writes UTF-8, told from the locale variables as
// the C library would resolve LC_CTYPE, without loading any locale data.
#pragma once

namespace nerbo {

// The first of LC_ALL, LC_CTYPE and LANG that is set and not empty names the
// locale (none: the C locale). It writes UTF-8 when its codeset, after the
// '.' and before any '@', is "UTF-8" or "utf8" in any letter case. Null
// stands for an unset variable.
bool LocaleWritesUtf8(const char* lc_all, const char* lc_ctype, const char* lang);

}  // namespace nerbo
