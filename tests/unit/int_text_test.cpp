// The text-to-integer rule.
#include "base/int_text.h"
#include "support/test_support.h"

namespace qzr::test {
namespace {

TEST(TextToInt, DecimalAndHexadecimalForms) {
  EXPECT_EQ(TextToInt("0"), 0);
  EXPECT_EQ(TextToInt("  42"), 42);
  EXPECT_EQ(TextToInt("+7"), 7);
  EXPECT_EQ(TextToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(TextToInt("2147483647"), INT32_MAX);
  EXPECT_EQ(TextToInt("$10"), 16);
  EXPECT_EQ(TextToInt("0x10"), 16);
  EXPECT_EQ(TextToInt("0X1f"), 31);
  EXPECT_EQ(TextToInt("x10"), 16);
  EXPECT_EQ(TextToInt("X10"), 16);
  EXPECT_EQ(TextToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(TextToInt("$00000000FFFFFFFF"), -1) << "leading zeros do not count";
  EXPECT_EQ(TextToInt("-$10"), -16);
  EXPECT_EQ(TextToInt("-$80000000"), INT32_MIN);
}

TEST(TextToInt, AnythingElseIsNotANumber) {
  for (const char* bad : {"", " ", "-", "+", "$", "0x", "x", "12abc", "12 ", "abc", "2147483648", "-2147483649",
                          "$100000000", "1.5", "--1", "0x-1", "99999999999999999999"})
    EXPECT_FALSE(TextToInt(bad).has_value()) << bad;
  EXPECT_EQ(TextToIntDef("nope", 5), 5);
}

}  // namespace
}  // namespace qzr::test
