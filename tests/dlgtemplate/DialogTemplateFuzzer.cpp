// libFuzzer target over the parser and writer. The input is a template; whatever follows its last
// item drives up to two SetFont calls and whether a copy is built before them. Every accepted
// template must build, parse back to the same model and build again to the same bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "DialogTemplate.h"
#include "ModelCompare.h"

namespace {

void Check(bool ok, const char* what, const std::string& detail = {}) {
    if (ok) return;
    std::fprintf(stderr, "dlgtemplate fuzz: %s %s\n", what, detail.c_str());
    std::abort();
}

std::vector<std::uint8_t> Copy(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto t = DialogTemplate::FromBytes({data, size}, &error);
    if (!t) {
        Check(!error.empty(), "rejected without a reason");
        return 0;
    }
    Check(t->parsedSize() <= size, "parsed past the input");
    std::uint64_t expectedBuiltSize = t->parsedSize() + 4 * std::uint64_t{t->itemCount()} + 2;
    Check(t->builtSize() == expectedBuiltSize, "builtSize after parsing");

    FuzzedDataProvider edits(data + t->parsedSize(), size - t->parsedSize());
    const bool buildEarly = edits.ConsumeBool();
    const void* early = nullptr;
    std::vector<std::uint8_t> earlyBytes;
    if (buildEarly) {
        early = t->Build();
        earlyBytes = Copy(t->BuiltBytes());
    }

    const int setFontCalls = edits.ConsumeIntegralInRange(0, 2);
    for (int call = 0; call < setFontCalls; ++call) {
        const auto pointsize = edits.ConsumeIntegral<std::uint16_t>();
        const auto weight = edits.ConsumeIntegral<std::uint16_t>();
        const auto italic = edits.ConsumeIntegral<std::uint8_t>();
        const auto charset = edits.ConsumeIntegral<std::uint8_t>();
        std::optional<std::u16string> face;
        if (edits.ConsumeBool()) {
            face.emplace();
            const auto length = edits.ConsumeIntegralInRange<std::size_t>(0, 40);
            for (std::size_t i = 0; i < length; ++i) {
                face->push_back(static_cast<char16_t>(edits.ConsumeIntegral<std::uint16_t>()));
            }
        }
        if (face && t->typeface()) expectedBuiltSize -= 2 * t->typeface()->size();
        t->SetFont(pointsize, weight, italic, charset, face);
        if (face) expectedBuiltSize += 2 * t->typeface()->size();
        Check((t->style() & 0x40) != 0, "SetFont left DS_SETFONT clear");
        Check(t->pointsize() == pointsize && t->weight() == weight && t->italic() == italic &&
                  t->charset() == charset,
              "SetFont did not store the font");
        Check(t->builtSize() == static_cast<std::uint32_t>(expectedBuiltSize),
              "builtSize after SetFont");
    }

    if (buildEarly) {
        Check(t->Build() == early, "a second Build moved the copy");
        Check(Copy(t->BuiltBytes()) == earlyBytes, "a second Build changed the copy");
        t->FreeBuilt();
        Check(!t->IsBuilt() && t->BuiltBytes().empty(), "FreeBuilt kept the copy");
    }

    const void* built = t->Build();
    Check(reinterpret_cast<std::uintptr_t>(built) % 4 == 0, "built copy not 4-byte aligned");
    const auto bytes = t->BuiltBytes();
    Check(bytes.data() == built, "BuiltBytes is not the built copy");

    const auto again = DialogTemplate::FromBytes(bytes, &error);
    Check(again != nullptr, "built copy does not parse:", error);
    Check(again->parsedSize() == bytes.size(), "built copy has bytes after its last item");
    // A font block without a typeface is written with an empty one.
    if (t->HasFontBlock() && !t->typeface()) {
        Check(again->typeface() == std::u16string(), "missing typeface not written empty");
        t->SetFont(t->pointsize(), t->weight(), t->italic(), t->charset(), u"");
    }
    const std::string difference = DescribeModelDifference(*t, *again);
    Check(difference.empty(), "model changed through Build and parse:", difference);

    again->Build();
    Check(Copy(again->BuiltBytes()) == Copy(bytes), "second round trip changed the bytes");

    // Half the time leave the copy to the destructor, which must release it as well.
    if (edits.ConsumeBool()) t->FreeBuilt();
    return 0;
}
