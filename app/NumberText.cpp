#include "NumberText.h"

#include <cstdint>
#include <limits>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

// Written out instead of calling strtol: its range is long's, which is 64 bits on 64-bit Linux,
// where this portable code builds too, and its white space follows the C locale.
std::int32_t ParseDecimalInt32(const char* text) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();

    const char* p = text;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // Accumulate the magnitude, saturating just past the int32 range so long inputs cannot
    // overflow the 64-bit accumulator.
    std::int64_t magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > kMax + 1) magnitude = kMax + 1;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < kMin) return static_cast<std::int32_t>(kMin);
    if (value > kMax) return static_cast<std::int32_t>(kMax);
    return static_cast<std::int32_t>(value);
}
