// libFuzzer over the parser and writer: a template, then bytes naming a typeface for SetFont. One
// accepted must be rejected a byte short, build within its allocation (the sanitizers watch), and
// parse back from the built copy with that typeface, building again to the same bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "DialogTemplate.h"

#define CHECK(condition) \
    if (!(condition)) std::fprintf(stderr, "failed: %s\n", #condition), std::abort()

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto t = DialogTemplate::FromBytes({data, size});
    if (!t) return 0;
    CHECK(!DialogTemplate::FromBytes({data, t->parsedSize() - 1}));  // one byte short: rejected

    FuzzedDataProvider font(data + t->parsedSize(), size - t->parsedSize());
    const std::u16string face(font.ConsumeIntegralInRange(0, 40),
                              font.ConsumeIntegralInRange<char16_t>(1, 0xFFFF));
    t->SetFont(9, 400, 0, 1, face);
    t->Build();
    const auto again = DialogTemplate::FromBytes(t->BuiltBytes());
    CHECK(again != nullptr);
    CHECK(again->typeface() == face);
    again->Build();
    CHECK(std::ranges::equal(again->BuiltBytes(), t->BuiltBytes()));
    return 0;
}
