#include "runtime/portable/locale_charset.h"

#include <gtest/gtest.h>

namespace nerbo {
namespace {

struct LocaleCase {
  const char* why;
  const char* lc_all;
  const char* lc_ctype;
  const char* lang;
  bool utf8;
};

class LocaleCharset : public testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleCharset, FollowsTheVariableTheCLibraryWouldRead) {
  const LocaleCase& c = GetParam();
  EXPECT_EQ(LocaleWritesUtf8(c.lc_all, c.lc_ctype, c.lang), c.utf8) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LocaleCharset,
    testing::Values(
        LocaleCase{"nothing set is the C locale", nullptr, nullptr, nullptr, false},
        LocaleCase{"LANG alone", nullptr, nullptr, "it_IT.UTF-8", true},
        LocaleCase{"the codeset in lower case without the dash", nullptr, nullptr, "C.utf8", true},
        LocaleCase{"a modifier after the codeset", nullptr, nullptr, "de_DE.UTF-8@euro", true},
        LocaleCase{"another codeset", nullptr, nullptr, "it_IT.ISO-8859-1", false},
        LocaleCase{"no codeset", nullptr, nullptr, "it_IT", false},
        LocaleCase{"LC_CTYPE over LANG", nullptr, "C", "it_IT.UTF-8", false},
        LocaleCase{"LC_ALL over both", "POSIX", "C.UTF-8", "it_IT.UTF-8", false},
        LocaleCase{"LC_ALL set to UTF-8", "C.UTF-8", "C", "C", true},
        LocaleCase{"an empty LC_ALL counts as unset", "", "C.UTF-8", "C", true},
        LocaleCase{"a codeset that only starts like UTF-8", nullptr, nullptr, "C.UTF-16", false}));

}  // namespace
}  // namespace nerbo
