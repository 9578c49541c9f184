// Conversion of the dialog's number fields.
#ifndef TORVAN_APP_NUMBERTEXT_H
#define TORVAN_APP_NUMBERTEXT_H

#include <cstdint>

// Reads a decimal number the way strtol(text, nullptr, 10) does with a 32-bit long: leading
// white space (space, \t, \n, \v, \f, \r), an optional + or -, then digits up to the first other
// character. No digits gives 0; values outside the int32 range clamp to INT32_MIN / INT32_MAX.
std::int32_t ParseDecimalInt32(const char* text);

#endif
