// libFuzzer target over the parser and writer. The input is a template; the bytes after its last
// item choose a font for SetFont. Every accepted template must be rejected one byte short, build
// 4-byte aligned within its allocation (the sanitizers watch), parse back from the built copy and
// build again to the same bytes; a built copy is kept, edits and all, until FreeBuilt.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "DialogTemplate.h"

#define CHECK(condition)                                  \
    do {                                                  \
        if (condition) break;                             \
        std::fprintf(stderr, "failed: %s\n", #condition); \
        std::abort();                                     \
    } while (false)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto t = DialogTemplate::FromBytes({data, size});
    if (!t) return 0;
    CHECK(t->parsedSize() <= size);
    CHECK(t->builtSize() == t->parsedSize() + 4 * t->itemCount() + 2);
    CHECK(!DialogTemplate::FromBytes({data, t->parsedSize() - 1}));  // one byte short: rejected
    const auto bytes = [](const DialogTemplate& d) {
        return std::vector(d.BuiltBytes().begin(), d.BuiltBytes().end());
    };
    const void* early = t->Build();
    const auto earlyBytes = bytes(*t);

    FuzzedDataProvider font(data + t->parsedSize(), size - t->parsedSize());
    const auto charset = font.ConsumeIntegral<std::uint8_t>();
    const std::u16string face(font.ConsumeIntegralInRange(0, 40),
                              font.ConsumeIntegralInRange<char16_t>(1, 0xFFFF));
    const std::uint32_t expectedSize =
        t->builtSize() - 2 * (t->typeface() ? t->typeface()->size() : 0) + 2 * face.size();
    t->SetFont(9, 400, 0, charset, face);
    CHECK(t->builtSize() == expectedSize);
    CHECK(t->HasFontBlock());
    CHECK(t->charset() == charset);
    CHECK(t->Build() == early);      // built once: the same copy,
    CHECK(bytes(*t) == earlyBytes);  // the font not in it until FreeBuilt

    t->FreeBuilt();
    CHECK(t->BuiltBytes().empty());
    CHECK(reinterpret_cast<std::uintptr_t>(t->Build()) % 4 == 0);
    const auto again = DialogTemplate::FromBytes(t->BuiltBytes());
    CHECK(again != nullptr);
    CHECK(again->parsedSize() == t->BuiltBytes().size());
    CHECK(again->typeface() == face);
    again->Build();
    CHECK(bytes(*again) == bytes(*t));
    return 0;
}
