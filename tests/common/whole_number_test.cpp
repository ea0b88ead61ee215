#include "common/whole_number.h"

#include <gtest/gtest.h>

namespace melodane {
namespace {

TEST(TextToWhole, ReadsSignedNumbersWithBlanksAroundAndRoundsHalvesToEven) {
  const std::pair<const char*, std::int64_t> cases[] = {
      {"42", 42},    {"  42\t", 42}, {"+7", 7},    {"-1", -1},   {"007", 7},
      {"2.5", 2},    {"3.5", 4},     {"-2.5", -2}, {"-3.5", -4}, {"2.50001", 3},
      {"12.49", 12}, {".5", 0},      {"9.", 9},
  };
  for (auto [text, value] : cases) EXPECT_EQ(TextToWhole(text), value) << '"' << text << '"';
  for (const char* text : {"", " ", "-", "+", ".", "loud", "12abc", "1 2", "1e3", "0x10", "--1",
                           "1.2.3", "99999999999999999999999"}) {
    EXPECT_EQ(TextToWhole(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(TextToInt16, AcceptsExactlyTheSigned16BitRangeAfterRounding) {
  EXPECT_EQ(TextToInt16("-32768"), -32768);
  EXPECT_EQ(TextToInt16("32766.5"), 32766);
  EXPECT_EQ(TextToInt16("32767.5"), std::nullopt);
}

}  // namespace
}  // namespace melodane
