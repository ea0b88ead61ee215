#include "common/whole_number.h"

#include <gtest/gtest.h>

namespace melodane {
namespace {

TEST(TextToWhole, ReadsSignedNumbersWithBlanksAround) {
  EXPECT_EQ(TextToWhole("42"), 42);
  EXPECT_EQ(TextToWhole("  42\t"), 42);
  EXPECT_EQ(TextToWhole("+7"), 7);
  EXPECT_EQ(TextToWhole("-1"), -1);
  EXPECT_EQ(TextToWhole("007"), 7);
}

TEST(TextToWhole, RoundsFractionsHalfToEven) {
  EXPECT_EQ(TextToWhole("2.5"), 2);
  EXPECT_EQ(TextToWhole("3.5"), 4);
  EXPECT_EQ(TextToWhole("-2.5"), -2);
  EXPECT_EQ(TextToWhole("-3.5"), -4);
  EXPECT_EQ(TextToWhole("2.50001"), 3);
  EXPECT_EQ(TextToWhole("12.49"), 12);
  EXPECT_EQ(TextToWhole(".5"), 0);
  EXPECT_EQ(TextToWhole("9."), 9);
}

TEST(TextToWhole, RefusesTextThatIsNoNumber) {
  for (const char* text :
       {"", " ", "-", "+", ".", "loud", "12abc", "1 2", "1e3", "0x10", "--1", "1.2.3"}) {
    EXPECT_EQ(TextToWhole(text), std::nullopt) << '"' << text << '"';
  }
  EXPECT_EQ(TextToWhole("99999999999999999999999"), std::nullopt);
}

TEST(TextToInt16, AcceptsExactlyTheSigned16BitRange) {
  EXPECT_EQ(TextToInt16("32767"), 32767);
  EXPECT_EQ(TextToInt16("-32768"), -32768);
  EXPECT_EQ(TextToInt16("32768"), std::nullopt);
  EXPECT_EQ(TextToInt16("-32769"), std::nullopt);
  EXPECT_EQ(TextToInt16("40000"), std::nullopt);
  // Rounding happens before the range check.
  EXPECT_EQ(TextToInt16("32767.5"), std::nullopt);
  EXPECT_EQ(TextToInt16("32766.5"), 32766);
}

TEST(Arithmetic16, FailsInsteadOfWrappingAround) {
  EXPECT_EQ(Mul16(127, 256), 32512);
  EXPECT_EQ(Mul16(128, 256), std::nullopt);
  EXPECT_EQ(Mul16(-128, 256), -32768);
  EXPECT_EQ(Mul16(-129, 256), std::nullopt);
  EXPECT_EQ(Add16(0x90, 0), 0x90);
  EXPECT_EQ(Add16(32767, 1), std::nullopt);
  EXPECT_EQ(Narrow16(-1), -1);
  EXPECT_EQ(Narrow16(65535), std::nullopt);
}

}  // namespace
}  // namespace melodane
