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

// Names and ordinals of every kind, creation data, a font block announced by DS_FIXEDSYS alone.
const Bytes kTwoItems = {
    0x01, 0x00, 0xFF, 0xFF, 0x44, 0x33, 0x22, 0x11,  // dlgVer 1, extended, helpID 0x11223344
    0x80, 0x00, 0x00, 0x00, 0x08, 0x00, 0xC8, 0x80,  // exStyle 0x80, style: DS_FIXEDSYS
    0x02, 0x00, 0x0A, 0x00, 0x14, 0x00, 0x64, 0x00,  // 2 items, x 10, y 20, cx 100
    0x32, 0x00, 0x4D, 0x00, 0x00, 0x00, 0xFF, 0xFF,  // cy 50, menu: name "M", class: ordinal...
    0x34, 0x12, 0x48, 0x00, 0x69, 0x00, 0x21, 0x00,  // ...0x1234, title "Hi!"...
    0x00, 0x00, 0x08, 0x00, 0x90, 0x01, 0x00, 0x86,  // ...its end; 8 pt, weight 400, charset 134
    0x58, 0x00, 0x00, 0x00,                          // typeface "X", ends at 52: aligned
    0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // item 0: helpID 5, exStyle 0
    0x00, 0x00, 0x01, 0x50, 0x01, 0x00, 0x02, 0x00,  // style 0x50010000, x 1, y 2
    0x03, 0x00, 0x04, 0x00, 0x39, 0x30, 0x00, 0x00,  // cx 3, cy 4, id 12345
    0xFF, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x07, 0x00,  // class: ordinal 0x80, title: ordinal 7
    0x03, 0x00, 0xAA, 0xBB, 0xCC, 0x00, 0x00, 0x00,  // 3 bytes of creation data, zeros up to 92
    0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,  // item 1: helpID 0, exStyle 0x200
    0x00, 0x00, 0x00, 0x50, 0xFE, 0xFF, 0x05, 0x00,  // style 0x50000000, x -2, y 5
    0x06, 0x00, 0x07, 0x00, 0x00, 0x00, 0x01, 0x00,  // cx 6, cy 7, id 0x10000: all 32 bits count
    0x43, 0x00, 0x6C, 0x00, 0x73, 0x00, 0x00, 0x00,  // class: the name "Cls"
    0x00, 0x00, 0x00, 0x00,                          // title absent, no creation data
};

// The program's dialog as the resource compiler builds it from the resource script.
const Bytes& RealDialog() {
    static const Bytes dialog = [] {
        std::ifstream file(TORVAN_DIALOG_FILE, std::ios::binary);
        return Bytes{std::istreambuf_iterator<char>(file), {}};
    }();
    return dialog;
}

TEST(DialogTemplate, GoldenTemplateBuildsBackExactly) {
    const auto t = DialogTemplate::FromBytes(kTwoItems);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->builtSize(), kTwoItems.size() + 4 * 2 + 2);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(t->Build()) % 4, 0u);
    EXPECT_EQ(Copy(t->BuiltBytes()), kTwoItems);
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
        const auto t = DialogTemplate::FromBytes(res);
        ASSERT_NE(t, nullptr);
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
