#include "runtime/portable/wildcard_match.h"

#include <gtest/gtest.h>

#include "runtime/portable/ascii.h"

namespace nerbo {
namespace {

struct MatchCase {
  const char* pattern;
  const char* name;
  bool matches;
};

class WildcardMatch : public testing::TestWithParam<MatchCase> {};

TEST_P(WildcardMatch, MatchesAsASearchOnWindows) {
  EXPECT_EQ(MatchesWildcardIgnoringCase(GetParam().pattern, GetParam().name), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(Cases, WildcardMatch,
                         testing::Values(MatchCase{"Hello.java", "hello.JAVA",
                                                   true},  // case ignored both ways
                                         MatchCase{"Hello.java", "Hello.jav", false},  // no prefix match
                                         MatchCase{"*.java", "A.java", true},
                                         MatchCase{"*.java", "A.java.bak", false},  // '*' cannot skip the end
                                         MatchCase{"*", "", true},                  // '*' takes nothing too
                                         MatchCase{"?", "", false},                 // '?' needs a character
                                         MatchCase{"H?llo.*", "HALLO.class", true},
                                         MatchCase{"*a*a", "banana", true},  // backtracks past the first a
                                         MatchCase{"*ab*ab", "xabyab", true},
                                         MatchCase{"*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false}));

struct OrderCase {
  const char* left;
  const char* right;
};

class NtfsOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(NtfsOrder, PutsLeftFirst) {
  EXPECT_TRUE(ComesFirstIgnoringCase(GetParam().left, GetParam().right));
  EXPECT_FALSE(ComesFirstIgnoringCase(GetParam().right, GetParam().left));
}

INSTANTIATE_TEST_SUITE_P(Cases, NtfsOrder,
                         testing::Values(OrderCase{"alpha",
                                                   "Beta"},  // letters alphabetically, whatever their case
                                         OrderCase{"ZED", "_x"},  // compared upper-cased: 'Z' < '_'
                                         OrderCase{"ab", "ABC"},  // a prefix first
                                         OrderCase{"A", "a"}));   // equal but for case: by bytes

}  // namespace
}  // namespace nerbo
