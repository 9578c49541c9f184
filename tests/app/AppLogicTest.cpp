// The number fields' conversion, and the choice of how the DLL search is kept in system32.
#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "DllSearch.h"
#include "NumberText.h"

// strtol's with base 10, clamped to 32 bits: white space, one sign, digits up to anything else.
TEST(ParseDecimalInt32, ReadsAsStrtolDoesClampedTo32Bits) {
    const std::pair<const char*, int> cases[] = {
        {"+7", 7},  {"-20", -20}, {"12abc", 12}, {"1 2", 1}, {" \t\n\v\f\r-5", -5}, {"", 0},
        {"abc", 0}, {"-", 0},     {"- 5", 0},    {"+-5", 0}, {"\2405", 0}};
    const std::pair<const char*, int> limits[] = {
        {"2147483647", INT_MAX},  {"2147483648", INT_MAX},  {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN}, {"-2147483649", INT_MIN}, {"-99999999999999999999", INT_MIN}};
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseDecimalInt32(text), value) << text;
    for (const auto& [text, value] : limits) EXPECT_EQ(ParseDecimalInt32(text), value) << text;
}

// Where it exists, not on Vista. Wine's XP: 5.1 with it; 8.1 on: 6.2 unless the manifest names
// them.
TEST(UseDefaultDllDirectories, WhereItExistsExceptOnVista) {
    const std::tuple<unsigned, unsigned, bool, bool> cases[] = {
        {5, 1, true, true}, {5, 1, false, false}, {6, 0, true, false}, {6, 0, false, false},
        {6, 1, true, true}, {6, 1, false, false}, {6, 2, true, true},  {10, 0, true, true}};
    for (const auto& [major, minor, present, use] : cases)
        EXPECT_EQ(UseDefaultDllDirectories(major, minor, present), use)
            << major << minor << present;
}
