// A raise goes to the ending the program sets, once, and otherwise unwinds
// to the caller's catch.
#include "core/message_code.h"

#include <gtest/gtest.h>

#include <vector>

namespace nerbo {
namespace {

// Stands for the end of the process in the program's ending.
struct ProcessEnded {};

int RaisedCode(int code) {
  try {
    RaiseMessageCode(code);
  } catch (const MessageCode& raised) {
    return raised.code;
  }
}

TEST(MessageCodeEnding, ARaiseEndsThroughTheEndingOnceThenThrowsAgain) {
  std::vector<int> ended;
  SetCodeEnding([&ended](int code) {
    ended.push_back(code);
    RaiseMessageCode(99);  // a raise while ending: the ending is already taken away
  });
  EXPECT_EQ(RaisedCode(14), 99);
  EXPECT_EQ(ended, std::vector<int>{14});
  EXPECT_EQ(RaisedCode(6), 6) << "the ending is used once";
}

TEST(MessageCodeEnding, UnwindingPassesTheEndingBy) {
  int ended = 0;
  SetCodeEnding([&ended](int) {
    ++ended;
    throw ProcessEnded{};
  });
  EXPECT_THROW(UnwindWithMessageCode(78), MessageCode);
  EXPECT_EQ(ended, 0);
  EXPECT_THROW(RaiseMessageCode(6), ProcessEnded);
  EXPECT_EQ(ended, 1);
}

}  // namespace
}  // namespace nerbo
