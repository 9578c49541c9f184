// The template model on a golden template pinning the byte format, and on the program's dialog.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "DialogTemplate.h"
#include "LocaleFont.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Copy(std::span<const std::uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

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

// Each builds back to its exact bytes (the locale fonts are checked end to end).
TEST(DialogTemplate, BuildsBackExactly) {
    for (const Bytes* bytes : {&kTwoItems, &RealDialog()}) {
        const auto t = DialogTemplate::FromBytes(*bytes);
        ASSERT_NE(t, nullptr);
        t->Build();
        EXPECT_EQ(Copy(t->BuiltBytes()), *bytes);
    }
    // A field read and written in the same wrong place would still build back: pin one.
    EXPECT_EQ(DialogTemplate::FromBytes(kTwoItems)->charset(), 134);
}

// On Chinese systems the program's dialog gets a 9-point Chinese face and charset (Wine's dialog
// manager ignores the charset), and nothing else changes: with the old font back, the old bytes.
TEST(DialogTemplate, LocaleFontReplacesTheFontBlockAlone) {
    for (auto [langId, charset, face] :
         {std::tuple{0x0804, 134, std::u16string_view(u"宋体")}, {0x0404, 136, u"細明體"}}) {
        const auto t = DialogTemplate::FromBytes(RealDialog());
        ApplyLocaleFont(*t, static_cast<std::uint16_t>(langId));
        // Parsed length + 4 per item (20) + 2, with the face's units for "MS Shell Dlg"'s 12.
        EXPECT_EQ(t->builtSize(), RealDialog().size() + 4 * 20 + 2 - 2 * 12 + 2 * face.size());
        t->Build();
        const auto built = DialogTemplate::FromBytes(t->BuiltBytes());
        ASSERT_NE(built, nullptr);
        EXPECT_EQ(built->pointsize(), 9);
        EXPECT_EQ(built->weight(), 400);
        EXPECT_EQ(built->italic(), 0);
        EXPECT_EQ(built->charset(), charset);
        EXPECT_EQ(built->typeface(), face);
        built->SetFont(8, 400, 0, 0, u"MS Shell Dlg");
        built->Build();
        EXPECT_EQ(Copy(built->BuiltBytes()), RealDialog()) << std::hex << langId;
    }
}

}  // namespace
