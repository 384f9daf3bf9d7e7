#include <cerrno>

#include <gtest/gtest.h>

#include "runtime/error_number.h"

namespace nerbo {
namespace {

struct ErrnoCase {
  int code;
  int number;
};

class ErrnoTable : public testing::TestWithParam<ErrnoCase> {};

TEST_P(ErrnoTable, GivesTheErrorNumberOfTheSameMeaning) {
  EXPECT_EQ(ErrorNumberFromPlatformCode(static_cast<unsigned long>(GetParam().code)), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(ByMeaning, ErrnoTable,
                         testing::Values(ErrnoCase{ENOENT, 2}, ErrnoCase{EACCES, 5}, ErrnoCase{ENOMEM, 8},
                                         ErrnoCase{EINVAL, 19}, ErrnoCase{E2BIG, 20}, ErrnoCase{ENOEXEC, 21},
                                         ErrnoCase{EMFILE, 4}, ErrnoCase{ENFILE, 23}, ErrnoCase{ERANGE, 34},
                                         ErrnoCase{EAGAIN, 42}, ErrnoCase{EBUSY, 44}, ErrnoCase{EISDIR, 46},
                                         ErrnoCase{ENAMETOOLONG, 48}, ErrnoCase{EBADF, 6},
                                         ErrnoCase{ENODEV, 15}));

INSTANTIATE_TEST_SUITE_P(Unlisted, ErrnoTable,
                         testing::Values(ErrnoCase{EHOSTUNREACH, 19}, ErrnoCase{100000, 19}));

}  // namespace
}  // namespace nerbo
