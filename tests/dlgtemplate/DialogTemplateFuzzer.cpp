// libFuzzer target over the parser and writer. The input is a template; the bytes after its last
// item drive an optional SetFont. Every accepted template must build 4-byte aligned within the
// allocation, and the built copy must parse and build again to the same bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "DialogTemplate.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "dlgtemplate fuzz: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto t = DialogTemplate::FromBytes({data, size});
    if (!t) return 0;
    Check(t->parsedSize() <= size, "parsed past the input");
    Check(t->builtSize() == t->parsedSize() + 4 * t->itemCount() + 2, "builtSize after parsing");

    FuzzedDataProvider edits(data + t->parsedSize(), size - t->parsedSize());
    if (edits.ConsumeBool()) {
        const auto pointsize = edits.ConsumeIntegral<std::uint16_t>();
        const auto charset = edits.ConsumeIntegral<std::uint8_t>();
        std::u16string face;
        for (auto n = edits.ConsumeIntegralInRange(0, 40); n > 0; --n)
            face.push_back(edits.ConsumeIntegral<char16_t>());
        const std::uint32_t before = t->builtSize(),
                            held = t->typeface() ? t->typeface()->size() : 0;
        t->SetFont(pointsize, 400, 0, charset, face);
        Check(t->builtSize() == before - 2 * held + 2 * face.size(), "builtSize after SetFont");
        Check(t->HasFontBlock() && t->charset() == charset, "SetFont did not take");
    }

    const void* built = t->Build();
    Check(reinterpret_cast<std::uintptr_t>(built) % 4 == 0, "built copy not 4-byte aligned");
    const auto bytes = t->BuiltBytes();
    const auto again = DialogTemplate::FromBytes(bytes);
    Check(again != nullptr, "built copy does not parse");
    Check(again->parsedSize() == bytes.size(), "built copy has bytes after its last item");
    Check(again->itemCount() == t->itemCount() && again->typeface() == t->typeface(),
          "model changed through Build and parse");
    again->Build();
    const auto rebuilt = again->BuiltBytes();
    Check(std::vector(rebuilt.begin(), rebuilt.end()) == std::vector(bytes.begin(), bytes.end()),
          "second round trip changed the bytes");
    return 0;
}
