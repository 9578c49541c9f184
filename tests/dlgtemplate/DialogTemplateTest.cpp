// The template model on a golden template that pins the byte format, and on the program's own
// dialog as the resource compiler builds it.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "DialogTemplate.h"
#include "LocaleFont.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Copy(std::span<const std::uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

Bytes Utf16z(std::u16string_view text) {
    Bytes out;
    for (char16_t unit : text) out.insert(out.end(), {std::uint8_t(unit), std::uint8_t(unit >> 8)});
    return out.insert(out.end(), {0, 0}), out;
}

// Without a font block; names and ordinals of every kind, creation data. 120 bytes.
const Bytes kTwoItems = {
    0x01, 0x00, 0xFF, 0xFF,  // dlgVer 1, signature: extended layout
    0x44, 0x33, 0x22, 0x11,  // helpID 0x11223344
    0x80, 0x00, 0x00, 0x00,  // exStyle 0x80
    0x00, 0x00, 0xC8, 0x80,  // style 0x80C80000: neither DS_SETFONT nor DS_FIXEDSYS
    0x02, 0x00,              // cDlgItems 2
    0x0A, 0x00, 0x14, 0x00, 0x64, 0x00, 0x32, 0x00,  // x 10, y 20, cx 100, cy 50
    0x4D, 0x00, 0x00, 0x00,                          // menu: the name "M"
    0xFF, 0xFF, 0x34, 0x12,                          // class: ordinal 0x1234
    0x48, 0x00, 0x69, 0x00, 0x21, 0x00, 0x00, 0x00,  // title "Hi!" (ends at 42)
    0x00, 0x00,                                      // zeros up to 44
    0x05, 0x00, 0x00, 0x00,                          // item 0: helpID 5
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x50,  // exStyle 0, style 0x50010000
    0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00,  // x 1, y 2, cx 3, cy 4
    0x39, 0x30, 0x00, 0x00,                          // id 12345
    0xFF, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x07, 0x00,  // class: button ordinal; title: ordinal 7
    0x03, 0x00, 0xAA, 0xBB, 0xCC,                    // extraCount 3, creation data (ends at 81)
    0x00, 0x00, 0x00,                                // zeros up to 84
    0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,  // item 1: helpID 0, exStyle 0x200
    0x00, 0x00, 0x00, 0x50,                          // style 0x50000000
    0xFE, 0xFF, 0x05, 0x00, 0x06, 0x00, 0x07, 0x00,  // x -2, y 5, cx 6, cy 7
    0x00, 0x00, 0x01, 0x00,                          // id 0x10000: all 32 bits count
    0x43, 0x00, 0x6C, 0x00, 0x73, 0x00, 0x00, 0x00,  // class: the name "Cls"
    0x00, 0x00, 0x00, 0x00,                          // title absent, extraCount 0 (ends at 120)
};

std::unique_ptr<DialogTemplate> Parse(std::span<const std::uint8_t> bytes) {
    std::string error;
    auto model = DialogTemplate::FromBytes(bytes, &error);
    EXPECT_NE(model, nullptr) << error;
    return model;
}

// RT_DIALOG 101 from the compiled resource script: a .res file is a run of entries, each a
// header (data size, header size, ordinal type and name, ...) and its data, 4-byte aligned.
const Bytes& RealDialog() {
    static const Bytes dialog = [] {
        std::ifstream file(TORVAN_TEST_RES_FILE, std::ios::binary);
        const Bytes res{std::istreambuf_iterator<char>(file), {}};
        const auto u32 = [&](std::size_t at) {
            std::uint32_t v = 0;
            return std::memcpy(&v, &res[at], 4), v;
        };
        for (std::size_t at = 0; at + 16 <= res.size();) {
            const std::uint32_t dataSize = u32(at), headerSize = u32(at + 4);
            if (u32(at + 8) == 0x0005FFFF && u32(at + 12) == 0x0065FFFF)
                return Bytes(&res[at + headerSize], &res[at + headerSize + dataSize]);
            at += (headerSize + dataSize + 3) / 4 * 4;
        }
        return Bytes{};
    }();
    return dialog;
}

TEST(DialogTemplate, GoldenTemplateBuildsBackAndGainsAFontBlock) {
    const auto t = Parse(kTwoItems);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->builtSize(), kTwoItems.size() + 4 * 2 + 2);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(t->Build()) % 4, 0u);
    EXPECT_EQ(Copy(t->BuiltBytes()), kTwoItems);

    t->FreeBuilt();
    t->SetFont(9, 700, 1, 134, u"Ab");
    EXPECT_EQ(t->builtSize(), kTwoItems.size() + 4 * 2 + 2 + 4);  // only the face is counted
    t->Build();
    Bytes expected(kTwoItems.begin(), kTwoItems.begin() + 42);
    expected[12] = 0x40;  // DS_SETFONT
    expected.insert(expected.end(), {0x09, 0x00, 0xBC, 0x02, 0x01, 0x86, 'A', 0, 'b', 0, 0, 0});
    expected.insert(expected.end(), {0x00, 0x00});  // zeros up to 56
    expected.insert(expected.end(), kTwoItems.begin() + 44, kTwoItems.begin() + 81);
    expected.insert(expected.end(), {0x00, 0x00, 0x00});  // zeros up to 96
    expected.insert(expected.end(), kTwoItems.begin() + 84, kTwoItems.end());
    EXPECT_EQ(Copy(t->BuiltBytes()), expected);
}

// The program's dialog builds back to its exact bytes; on Chinese systems the program gives it a
// Chinese font, which replaces the font block alone.
TEST(DialogTemplate, ProgramDialogBuildsBackExactlyOrWithTheLocaleFont) {
    const Bytes& res = RealDialog();
    // Header (26), absent menu and class (2 + 2), the title; then the font block.
    const std::size_t fontAt = 30 + Utf16z(u"Patch for TORVAN95 Setting").size();
    const auto oldItemsAt = res.begin() + (fontAt + 6 + Utf16z(u"MS Shell Dlg").size() + 3) / 4 * 4;
    for (auto [langId, charset, face] :
         {std::tuple{0x0409, 0, u""}, {0x0804, 134, u"宋体"}, {0x0404, 136, u"細明體"}}) {
        const auto t = Parse(res);
        ASSERT_EQ(t->itemCount(), 20);
        ApplyLocaleFont(*t, static_cast<std::uint16_t>(langId));
        t->Build();
        if (!charset) {
            EXPECT_EQ(t->builtSize(), res.size() + 4 * 20 + 2);
            EXPECT_EQ(Copy(t->BuiltBytes()), res);
            continue;
        }
        EXPECT_EQ(t->builtSize(), res.size() + 4 * 20 + 2 - 24 + Utf16z(face).size() - 2);
        Bytes expected(res.begin(), res.begin() + static_cast<std::ptrdiff_t>(fontAt));
        expected.insert(expected.end(), {9, 0, 0x90, 0x01, 0, std::uint8_t(charset)});  // 9 pt, 400
        const Bytes faceBytes = Utf16z(face);
        expected.insert(expected.end(), faceBytes.begin(), faceBytes.end());
        expected.resize((expected.size() + 3) / 4 * 4);  // items stay 4-byte aligned
        expected.insert(expected.end(), oldItemsAt, res.end());
        EXPECT_EQ(Copy(t->BuiltBytes()), expected) << std::hex << langId;
        EXPECT_GT(t->builtSize(), expected.size());
    }
}

TEST(DialogTemplate, EveryTruncationIsRejected) {
    const Bytes& res = RealDialog();
    ASSERT_FALSE(res.empty());
    for (std::size_t length = 0; length < res.size(); ++length) {
        // Exactly `length` bytes on the heap, so a read past them trips AddressSanitizer.
        const auto exact = std::make_unique<std::uint8_t[]>(length);
        std::memcpy(exact.get(), res.data(), length);
        EXPECT_EQ(DialogTemplate::FromBytes({exact.get(), length}), nullptr) << length;
    }
}

}  // namespace
