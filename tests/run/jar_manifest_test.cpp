#include "run/jar_manifest.h"

#include <gtest/gtest.h>

namespace nerbo {
namespace {

struct MainClassCase {
  const char* reason;
  const char* manifest;
  const char* main_class;
};

class MainClassOfCase : public testing::TestWithParam<MainClassCase> {};

TEST_P(MainClassOfCase, TakesMainClassFromTheMainSection) {
  EXPECT_EQ(MainClassOf(GetParam().manifest), GetParam().main_class);
}

const MainClassCase kMainClassCases[] = {
    {"CrLf", "Manifest-Version: 1.0\r\nMain-Class: demo.Echo\r\n\r\n", "demo.Echo"},
    {"Lf", "Manifest-Version: 1.0\nMain-Class: demo.Echo\n", "demo.Echo"},
    {"Cr", "Manifest-Version: 1.0\rMain-Class: demo.Echo\rCreated-By: 17\r", "demo.Echo"},
    {"NoLineEndAtTheEnd", "Main-Class: demo.Echo", "demo.Echo"},
    {"ContinuedOnTheNextLines", "Main-Class: org.nerbo.a\r\n very.long.Na\r\n me\r\n",
     "org.nerbo.avery.long.Name"},
    {"NameInOtherLetterCase", "main-class: demo.Echo\n", "demo.Echo"},
    {"BlanksAround", "Main-Class:   demo.Echo  \n", "demo.Echo"},
    {"TheLastOneCounts", "Main-Class: a.First\nMain-Class: b.Second\n", "b.Second"},
    {"ALibrary", "Manifest-Version: 1.0\r\nCreated-By: 17 (Debian)\r\n\r\n", ""},
    {"OnlyInAnEntrysSection", "Manifest-Version: 1.0\n\nName: demo/\nMain-Class: demo.Echo\n", ""},
    {"AnotherAttributeThatEndsSo", "X-Main-Class: demo.Echo\n", ""},
    {"AContinuationOfAnotherAttribute", "Class-Path: a.jar\n Main-Class: demo.Echo\n", ""},
    {"Empty", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, MainClassOfCase, testing::ValuesIn(kMainClassCases),
                         [](const testing::TestParamInfo<MainClassCase>& param_info) {
                           return param_info.param.reason;
                         });

}  // namespace
}  // namespace nerbo
