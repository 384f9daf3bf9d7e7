#include <gtest/gtest.h>

#include "runtime/error_number.h"

namespace nerbo {
namespace {

struct CodeCase {
  unsigned long code;
  int number;
};

class WindowsCodeTable : public testing::TestWithParam<CodeCase> {};

TEST_P(WindowsCodeTable, GivesTheErrorNumber) {
  EXPECT_EQ(ErrorNumberFromPlatformCode(GetParam().code), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(FixedRows, WindowsCodeTable,
                         testing::Values(CodeCase{2, 2}, CodeCase{3, 2}, CodeCase{5, 5}, CodeCase{15, 5},
                                         CodeCase{21, 44}, CodeCase{123, 2}, CodeCase{206, 48},
                                         CodeCase{1, 19}, CodeCase{87, 19}, CodeCase{298, 19}));

// Codes past the table read as code 1: 301 must not be taken modulo 299 (2).
INSTANTIATE_TEST_SUITE_P(BeyondTheTable, WindowsCodeTable,
                         testing::Values(CodeCase{299, 19}, CodeCase{301, 19}, CodeCase{0xFFFFFFFFul, 19}));

INSTANTIATE_TEST_SUITE_P(ByMeaning, WindowsCodeTable,
                         testing::Values(CodeCase{4, 4}, CodeCase{8, 8}, CodeCase{14, 8}, CodeCase{17, 17},
                                         CodeCase{80, 35}, CodeCase{183, 35}, CodeCase{89, 42},
                                         CodeCase{193, 21}, CodeCase{267, 45}));

}  // namespace
}  // namespace nerbo
