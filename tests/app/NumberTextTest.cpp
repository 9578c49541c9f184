#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "NumberText.h"

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(ParseDecimalInt32, StopsAtTheFirstNonDigit) {
    EXPECT_EQ(ParseDecimalInt32("12abc"), 12);
    EXPECT_EQ(ParseDecimalInt32("640"), 640);
    EXPECT_EQ(ParseDecimalInt32("7 8"), 7);
    EXPECT_EQ(ParseDecimalInt32("0x1F"), 0);
    EXPECT_EQ(ParseDecimalInt32("3.9"), 3);
}

TEST(ParseDecimalInt32, NoDigitsGivesZero) {
    EXPECT_EQ(ParseDecimalInt32(""), 0);
    EXPECT_EQ(ParseDecimalInt32("abc"), 0);
    EXPECT_EQ(ParseDecimalInt32("-"), 0);
    EXPECT_EQ(ParseDecimalInt32("- 5"), 0);
    EXPECT_EQ(ParseDecimalInt32("+-5"), 0);
    EXPECT_EQ(ParseDecimalInt32("   "), 0);
}

TEST(ParseDecimalInt32, SkipsLeadingWhiteSpaceAndTakesOneSign) {
    EXPECT_EQ(ParseDecimalInt32("  -5"), -5);
    EXPECT_EQ(ParseDecimalInt32("+7"), 7);
    EXPECT_EQ(ParseDecimalInt32(" \t\n\v\f\r42"), 42);
    EXPECT_EQ(ParseDecimalInt32("-0"), 0);
    // Only the six ASCII white-space characters count; anything else ends the number at once.
    EXPECT_EQ(ParseDecimalInt32("\2405"), 0);  // 0xA0 (no-break space in Latin-1), then 5
    EXPECT_EQ(ParseDecimalInt32("x 5"), 0);
}

TEST(ParseDecimalInt32, ClampsToTheInt32Range) {
    EXPECT_EQ(ParseDecimalInt32("2147483647"), kMax);
    EXPECT_EQ(ParseDecimalInt32("2147483648"), kMax);
    EXPECT_EQ(ParseDecimalInt32("99999999999"), kMax);
    EXPECT_EQ(ParseDecimalInt32("-2147483648"), kMin);
    EXPECT_EQ(ParseDecimalInt32("-2147483649"), kMin);
    EXPECT_EQ(ParseDecimalInt32("-99999999999"), kMin);
    // Far past any 64-bit value too.
    EXPECT_EQ(ParseDecimalInt32("123456789012345678901234567890"), kMax);
    EXPECT_EQ(ParseDecimalInt32("-123456789012345678901234567890"), kMin);
    EXPECT_EQ(ParseDecimalInt32("0000000000000000000012"), 12);
}

}  // namespace
