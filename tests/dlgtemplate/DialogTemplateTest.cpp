#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "DialogTemplate.h"
#include "ModelCompare.h"
#include "ResFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Copy(std::span<const std::uint8_t> bytes) { return Bytes(bytes.begin(), bytes.end()); }

// UTF-16LE units of `text` followed by the terminator.
Bytes Utf16z(std::u16string_view text) {
    Bytes out;
    for (char16_t unit : text) {
        out.push_back(static_cast<std::uint8_t>(unit));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    out.insert(out.end(), {0, 0});
    return out;
}

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// Template without a font block, two items, names and ordinals of every kind. 120 bytes.
const Bytes kTwoItems = {
    0x01, 0x00,              // dlgVer 1
    0xFF, 0xFF,              // signature: extended layout
    0x44, 0x33, 0x22, 0x11,  // helpID 0x11223344
    0x80, 0x00, 0x00, 0x00,  // exStyle 0x80
    0x00, 0x00, 0xC8, 0x80,  // style 0x80C80000: neither DS_SETFONT nor DS_FIXEDSYS
    0x02, 0x00,              // cDlgItems 2
    0x0A, 0x00, 0x14, 0x00,  // x 10, y 20
    0x64, 0x00, 0x32, 0x00,  // cx 100, cy 50
    0x4D, 0x00, 0x00, 0x00,  // menu: the one-character name "M"
    0xFF, 0xFF, 0x34, 0x12,  // class: ordinal 0x1234
    0x48, 0x00, 0x69, 0x00, 0x21, 0x00, 0x00, 0x00,  // title "Hi!" (ends at 42)
    0x00, 0x00,                                      // padding to 44
    // item 0
    0x05, 0x00, 0x00, 0x00,  // helpID 5
    0x00, 0x00, 0x00, 0x00,  // exStyle 0
    0x00, 0x00, 0x01, 0x50,  // style 0x50010000
    0x01, 0x00, 0x02, 0x00,  // x 1, y 2
    0x03, 0x00, 0x04, 0x00,  // cx 3, cy 4
    0x39, 0x30, 0x00, 0x00,  // id 12345
    0xFF, 0xFF, 0x80, 0x00,  // class: ordinal 0x80 (button)
    0xFF, 0xFF, 0x07, 0x00,  // title: ordinal 7
    0x03, 0x00,              // extraCount 3
    0xAA, 0xBB, 0xCC,        // creation data (ends at 81)
    0x00, 0x00, 0x00,        // padding to 84
    // item 1
    0x00, 0x00, 0x00, 0x00,                          // helpID 0
    0x00, 0x02, 0x00, 0x00,                          // exStyle 0x200
    0x00, 0x00, 0x00, 0x50,                          // style 0x50000000
    0xFE, 0xFF, 0x05, 0x00,                          // x -2, y 5
    0x06, 0x00, 0x07, 0x00,                          // cx 6, cy 7
    0x00, 0x00, 0x01, 0x00,                          // id 0x10000: all 32 bits count
    0x43, 0x00, 0x6C, 0x00, 0x73, 0x00, 0x00, 0x00,  // class: name "Cls"
    0x00, 0x00,                                      // title: absent
    0x00, 0x00,                                      // extraCount 0 (ends at 120)
};

// kTwoItems after SetFont(9, 700, 1, 134, u"Ab"): DS_SETFONT set, a font block after the title,
// and both items moved to the next aligned offsets.
const Bytes kTwoItemsWithFont = {
    0x01, 0x00, 0xFF, 0xFF,                          // dlgVer, signature
    0x44, 0x33, 0x22, 0x11,                          // helpID
    0x80, 0x00, 0x00, 0x00,                          // exStyle
    0x40, 0x00, 0xC8, 0x80,                          // style 0x80C80040: DS_SETFONT added
    0x02, 0x00,                                      // cDlgItems
    0x0A, 0x00, 0x14, 0x00, 0x64, 0x00, 0x32, 0x00,  // x, y, cx, cy
    0x4D, 0x00, 0x00, 0x00,                          // menu "M"
    0xFF, 0xFF, 0x34, 0x12,                          // class 0x1234
    0x48, 0x00, 0x69, 0x00, 0x21, 0x00, 0x00, 0x00,  // title "Hi!" (ends at 42)
    0x09, 0x00,                                      // pointsize 9
    0xBC, 0x02,                                      // weight 700
    0x01,                                            // italic
    0x86,                                            // charset 134
    0x41, 0x00, 0x62, 0x00, 0x00, 0x00,              // typeface "Ab" (ends at 54)
    0x00, 0x00,                                      // padding to 56
    // item 0, unchanged
    0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x50,  //
    0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00, 0x39, 0x30, 0x00, 0x00,  //
    0xFF, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x07, 0x00, 0x03, 0x00,              //
    0xAA, 0xBB, 0xCC,                                                        // ends at 93
    0x00, 0x00, 0x00,                                                        // padding to 96
    // item 1, unchanged
    0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x50,  //
    0xFE, 0xFF, 0x05, 0x00, 0x06, 0x00, 0x07, 0x00, 0x00, 0x00, 0x01, 0x00,  //
    0x43, 0x00, 0x6C, 0x00, 0x73, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // ends at 132
};

// No items, no font block: the header alone. 32 bytes.
const Bytes kHeaderOnly = {
    0x01, 0x00, 0xFF, 0xFF,  // dlgVer 1, signature
    0x00, 0x00, 0x00, 0x00,  // helpID
    0x00, 0x00, 0x00, 0x00,  // exStyle
    0x00, 0x00, 0xC8, 0x80,  // style 0x80C80000
    0x00, 0x00,              // cDlgItems 0
    0x00, 0x00, 0x00, 0x00,  // x 0, y 0
    0x10, 0x00, 0x10, 0x00,  // cx 16, cy 16
    0x00, 0x00,              // menu: absent
    0x00, 0x00,              // class: absent (default dialog class)
    0x00, 0x00,              // title: empty
};

// No items; DS_FIXEDSYS alone (0x08) announces the font block. 42 bytes.
const Bytes kFixedSysFontOnly = {
    0x01, 0x00, 0xFF, 0xFF,  // dlgVer 1, signature
    0x00, 0x00, 0x00, 0x00,  // helpID
    0x00, 0x00, 0x00, 0x00,  // exStyle
    0x08, 0x00, 0xC8, 0x80,  // style 0x80C80008: DS_FIXEDSYS only
    0x00, 0x00,              // cDlgItems 0
    0x00, 0x00, 0x00, 0x00,  // x, y
    0x10, 0x00, 0x10, 0x00,  // cx, cy
    0x00, 0x00, 0x00, 0x00,  // menu, class: absent
    0x00, 0x00,              // title: empty
    0x08, 0x00, 0x90, 0x01,  // pointsize 8, weight 400
    0x00, 0x00,              // italic 0, charset 0
    0x58, 0x00, 0x00, 0x00,  // typeface "X"
};

std::unique_ptr<DialogTemplate> Parse(std::span<const std::uint8_t> bytes) {
    std::string error;
    auto model = DialogTemplate::FromBytes(bytes, &error);
    EXPECT_NE(model, nullptr) << error;
    return model;
}

TEST(DialogTemplateGolden, ParsesEveryHeaderAndItemField) {
    const auto t = Parse(kTwoItems);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->dlgVer(), 1);
    EXPECT_EQ(t->signature(), 0xFFFF);
    EXPECT_EQ(t->helpID(), 0x11223344u);
    EXPECT_EQ(t->exStyle(), 0x80u);
    EXPECT_EQ(t->style(), 0x80C80000u);
    EXPECT_EQ(t->itemCount(), 2);
    EXPECT_EQ(t->x(), 10);
    EXPECT_EQ(t->y(), 20);
    EXPECT_EQ(t->cx(), 100);
    EXPECT_EQ(t->cy(), 50);
    EXPECT_EQ(t->menu().Name(), u"M");
    EXPECT_EQ(t->windowClass().Ordinal(), 0x1234);
    EXPECT_EQ(t->title(), u"Hi!");
    EXPECT_FALSE(t->HasFontBlock());
    EXPECT_EQ(t->pointsize(), 0);
    EXPECT_EQ(t->weight(), 0);
    EXPECT_EQ(t->italic(), 0);
    EXPECT_EQ(t->charset(), 0);
    EXPECT_FALSE(t->typeface().has_value());

    const DialogItem& button = t->items()[0];
    EXPECT_EQ(button.helpID(), 5u);
    EXPECT_EQ(button.exStyle(), 0u);
    EXPECT_EQ(button.style(), 0x50010000u);
    EXPECT_EQ(button.x(), 1);
    EXPECT_EQ(button.y(), 2);
    EXPECT_EQ(button.cx(), 3);
    EXPECT_EQ(button.cy(), 4);
    EXPECT_EQ(button.id(), 12345u);
    EXPECT_EQ(button.windowClass().Ordinal(), 0x80);
    EXPECT_TRUE(button.title().IsOrdinal());
    EXPECT_EQ(button.title().Ordinal(), 7);
    EXPECT_EQ(button.extraCount(), 3);
    EXPECT_EQ(Copy(button.creationData()), (Bytes{0xAA, 0xBB, 0xCC}));

    const DialogItem& custom = t->items()[1];
    EXPECT_EQ(custom.exStyle(), 0x200u);
    EXPECT_EQ(custom.x(), -2);
    EXPECT_EQ(custom.id(), 0x10000u);
    EXPECT_EQ(custom.windowClass().Name(), u"Cls");
    EXPECT_TRUE(custom.title().IsAbsent());
    EXPECT_EQ(custom.extraCount(), 0);
    EXPECT_TRUE(custom.creationData().empty());
}

TEST(DialogTemplateGolden, NameOrOrdinalKeepsFirstUnitInTagAndTheRestApart) {
    const auto t = Parse(kTwoItems);
    ASSERT_NE(t, nullptr);
    // A one-character name: tag holds the character, the rest is present but empty.
    EXPECT_EQ(t->menu().tag(), 0x004Du);
    EXPECT_EQ(t->menu().rest(), std::u16string());
    // Ordinals: 0xFFFF in the low half, the ordinal in the high half, no string.
    EXPECT_EQ(t->windowClass().tag(), 0x1234FFFFu);
    EXPECT_FALSE(t->windowClass().rest().has_value());
    EXPECT_EQ(t->items()[0].title().tag(), 0x0007FFFFu);
    // A longer name: first unit in the tag, the following units in the string.
    EXPECT_EQ(t->items()[1].windowClass().tag(), 0x0043u);
    EXPECT_EQ(t->items()[1].windowClass().rest(), u"ls");
    // Absent: a zero tag and no string.
    EXPECT_EQ(t->items()[1].title().tag(), 0u);
    EXPECT_FALSE(t->items()[1].title().rest().has_value());
}

TEST(DialogTemplateGolden, BuildsBackToTheInputWithOrdinalTitleAndCreationData) {
    const auto t = Parse(kTwoItems);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->parsedSize(), kTwoItems.size());
    EXPECT_EQ(t->builtSize(), kTwoItems.size() + 4 * 2 + 2);
    const void* built = t->Build();
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(built) % 4, 0u);
    EXPECT_EQ(Copy(t->BuiltBytes()), kTwoItems);
}

TEST(DialogTemplateGolden, SetFontAddsFontBlockAndRealignsItems) {
    const auto t = Parse(kTwoItems);
    ASSERT_NE(t, nullptr);
    t->SetFont(9, 700, 1, 134, u"Ab");
    EXPECT_TRUE(t->HasFontBlock());
    // The size rule counts only the typeface's units: 120 + 4 * 2 + 2 + 4.
    EXPECT_EQ(t->builtSize(), 134u);
    t->Build();
    EXPECT_EQ(Copy(t->BuiltBytes()), kTwoItemsWithFont);
}

TEST(DialogTemplateGolden, ZeroItemsBuildToHeaderAlone) {
    const auto t = Parse(kHeaderOnly);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->items().empty());
    EXPECT_TRUE(t->title().empty());
    EXPECT_TRUE(t->menu().IsAbsent());
    EXPECT_TRUE(t->windowClass().IsAbsent());
    EXPECT_EQ(t->builtSize(), kHeaderOnly.size() + 2);
    t->Build();
    EXPECT_EQ(Copy(t->BuiltBytes()), kHeaderOnly);
}

TEST(DialogTemplateGolden, FixedSysAloneCarriesAFontBlock) {
    const auto t = Parse(kFixedSysFontOnly);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->pointsize(), 8);
    EXPECT_EQ(t->weight(), 400);
    EXPECT_EQ(t->typeface(), u"X");
    t->Build();
    EXPECT_EQ(Copy(t->BuiltBytes()), kFixedSysFontOnly);

    // Replacing the typeface swaps its length in builtSize: -2 for "X", +4 for "Yz".
    t->FreeBuilt();
    t->SetFont(10, 400, 0, 0, u"Yz");
    EXPECT_EQ(t->builtSize(), kFixedSysFontOnly.size() + 2 - 2 + 4);
    EXPECT_EQ(t->style(), 0x80C80048u);
    t->Build();
    Bytes expected(kFixedSysFontOnly.begin(), kFixedSysFontOnly.begin() + 32);
    expected[12] = 0x48;  // DS_SETFONT joins DS_FIXEDSYS
    expected.insert(expected.end(), {0x0A, 0x00, 0x90, 0x01, 0x00, 0x00});  // 10 pt, 400, 0, 0
    const Bytes face = Utf16z(u"Yz");
    expected.insert(expected.end(), face.begin(), face.end());
    EXPECT_EQ(Copy(t->BuiltBytes()), expected);
}

TEST(DialogTemplateGolden, SetFontGivesFontlessTemplateAFontBlock) {
    const auto t = Parse(kHeaderOnly);
    ASSERT_NE(t, nullptr);
    t->SetFont(9, 400, 0, 136, u"細明體");
    // The rule adds only the typeface's 6 bytes; the written block is 6 + 8 bytes, so Build must
    // allocate more than builtSize (a sanitizer run would catch it writing past the allocation).
    EXPECT_EQ(t->builtSize(), kHeaderOnly.size() + 2 + 6);
    t->Build();
    Bytes expected = kHeaderOnly;
    expected[12] = 0x40;                                                    // DS_SETFONT
    expected.insert(expected.end(), {0x09, 0x00, 0x90, 0x01, 0x00, 0x88});  // 9 pt, 400, 0, 136
    const Bytes face = Utf16z(u"細明體");
    expected.insert(expected.end(), face.begin(), face.end());
    EXPECT_EQ(Copy(t->BuiltBytes()), expected);
    EXPECT_GT(t->BuiltBytes().size(), t->builtSize());

    const auto again = Parse(t->BuiltBytes());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->typeface(), u"細明體");
    EXPECT_EQ(again->charset(), 136);
}

TEST(DialogTemplateGolden, SetFontWithoutTypefaceOnFontlessTemplateWritesEmptyTypeface) {
    const auto t = Parse(kHeaderOnly);
    ASSERT_NE(t, nullptr);
    t->SetFont(8, 400, 0, 0, std::nullopt);
    EXPECT_FALSE(t->typeface().has_value());
    EXPECT_EQ(t->builtSize(), kHeaderOnly.size() + 2);
    t->Build();
    Bytes expected = kHeaderOnly;
    expected[12] = 0x40;
    // 8 pt, 400, not italic, charset 0, then an empty typeface: one 0x0000 unit.
    expected.insert(expected.end(), {0x08, 0x00, 0x90, 0x01, 0x00, 0x00, 0x00, 0x00});
    EXPECT_EQ(Copy(t->BuiltBytes()), expected);
}

TEST(DialogTemplateGolden, SetFontWithoutTypefaceKeepsTheHeldOne) {
    const auto t = Parse(kFixedSysFontOnly);
    ASSERT_NE(t, nullptr);
    const auto before = t->builtSize();
    t->SetFont(12, 700, 1, 2, std::nullopt);
    EXPECT_EQ(t->typeface(), u"X");
    EXPECT_EQ(t->builtSize(), before);
    t->Build();
    const auto again = Parse(t->BuiltBytes());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->pointsize(), 12);
    EXPECT_EQ(again->weight(), 700);
    EXPECT_EQ(again->italic(), 1);
    EXPECT_EQ(again->charset(), 2);
    EXPECT_EQ(again->typeface(), u"X");
}

TEST(DialogItemGolden, HelpIdIsReadAndWrittenOnlyInTheExtendedLayout) {
    // Item 0 of kTwoItems without its helpID: the non-extended item layout.
    const Bytes withoutHelpId(kTwoItems.begin() + 48, kTwoItems.begin() + 81);
    DialogItem item;
    const auto used = item.Parse(withoutHelpId, false);
    ASSERT_TRUE(used.has_value());
    EXPECT_EQ(*used, withoutHelpId.size());
    EXPECT_EQ(item.helpID(), 0u);
    EXPECT_EQ(item.id(), 12345u);
    EXPECT_EQ(item.extraCount(), 3);

    Bytes out(item.SerializedSize(false));
    EXPECT_EQ(item.Write(out, false), withoutHelpId.size());
    EXPECT_EQ(out, withoutHelpId);

    Bytes extended(item.SerializedSize(true));
    EXPECT_EQ(item.Write(extended, true), withoutHelpId.size() + 4);
    EXPECT_EQ(ReadU32(extended, 0), 0u);  // the helpID it holds
    EXPECT_TRUE(std::equal(withoutHelpId.begin(), withoutHelpId.end(), extended.begin() + 4));
}

TEST(DialogItemGolden, FailedParseLeavesTheItemUntouched) {
    const Bytes item0(kTwoItems.begin() + 44, kTwoItems.begin() + 81);
    DialogItem item;
    ASSERT_TRUE(item.Parse(item0, true).has_value());
    std::string error;
    EXPECT_FALSE(item.Parse(std::span(item0).first(20), true, &error).has_value());
    EXPECT_NE(error.find("item"), std::string::npos) << error;
    EXPECT_EQ(item.id(), 12345u);
    EXPECT_EQ(item.extraCount(), 3);
}

// Each case: bytes, a word the error must contain.
struct Malformed {
    const char* name;
    Bytes bytes;
    const char* errorWord;
};

Bytes Patched(Bytes bytes, std::size_t at, std::initializer_list<std::uint8_t> values) {
    std::copy(values.begin(), values.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return bytes;
}

TEST(DialogTemplateMalformed, RejectedWithAReason) {
    const Malformed cases[] = {
        // A classic template begins with its 32-bit style, so no 0xFFFF signature.
        {"classic layout", Patched(kHeaderOnly, 0, {0x00, 0x00, 0xC8, 0x80}), "extended"},
        {"empty", {}, "dlgVer"},
        {"item count beyond the data", Patched(kTwoItems, 16, {0xFF, 0x00}), "255 items"},
        {"unterminated title", Bytes(kTwoItems.begin(), kTwoItems.begin() + 40), "title"},
        {"unterminated typeface", Bytes(kFixedSysFontOnly.begin(), kFixedSysFontOnly.end() - 2),
         "typeface"},
        {"creation data past the end", Patched(kTwoItems, 76, {0xFF, 0xFF}), "creation data"},
        {"unterminated item class", Bytes(kTwoItems.begin(), kTwoItems.begin() + 114), "class"},
        {"second item cut in its id", Bytes(kTwoItems.begin(), kTwoItems.begin() + 106), "item 1"},
    };
    for (const Malformed& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_EQ(DialogTemplate::FromBytes(c.bytes, &error), nullptr);
        EXPECT_NE(error.find(c.errorWord), std::string::npos) << error;
        // Without an error sink the answer is the same.
        EXPECT_EQ(DialogTemplate::FromBytes(c.bytes), nullptr);
    }
}

// ---- The program's own dialog resource, compiled from the resource script ----

const Bytes& RealDialog() {
    static const Bytes bytes = SettingsDialogBytes(TORVAN_TEST_RES_FILE);
    return bytes;
}

constexpr std::size_t kRealItemCount = 20;
// Header (26 bytes), absent menu and class (2 each), then the title with its terminator.
const std::size_t kRealFontOffset =
    26 + 2 + 2 + 2 * (std::u16string_view(u"Patch for TORVAN95 Setting").size() + 1);

// Start offset of each item, found by walking the bytes with the item parser alone.
std::vector<std::size_t> ItemOffsets(std::span<const std::uint8_t> bytes, std::size_t firstItem,
                                     std::size_t count) {
    std::vector<std::size_t> offsets;
    std::size_t at = firstItem;
    for (std::size_t i = 0; i < count; ++i) {
        at = (at + 3) / 4 * 4;
        offsets.push_back(at);
        DialogItem item;
        const auto used = item.Parse(bytes.subspan(at), true);
        if (!used) return {};
        at += *used;
    }
    offsets.push_back(at);  // end of the last item
    return offsets;
}

TEST(DialogTemplateRealResource, BuildsBackToItsExactBytes) {
    const Bytes& res = RealDialog();
    ASSERT_FALSE(res.empty()) << "dialog 101 not found in " << TORVAN_TEST_RES_FILE;
    const auto t = Parse(res);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->items().size(), kRealItemCount);
    EXPECT_EQ(t->parsedSize(), res.size());
    EXPECT_EQ(t->builtSize(), res.size() + 4 * kRealItemCount + 2);
    const void* built = t->Build();
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(built) % 4, 0u);
    EXPECT_EQ(Copy(t->BuiltBytes()), res);
}

TEST(DialogTemplateRealResource, IgnoresBytesAfterTheLastItem) {
    Bytes padded = RealDialog();
    ASSERT_FALSE(padded.empty());
    padded.insert(padded.end(), {0xEE, 0xEE, 0xEE});
    const auto t = Parse(padded);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->parsedSize(), RealDialog().size());
    t->Build();
    EXPECT_EQ(Copy(t->BuiltBytes()), RealDialog());
}

struct ChineseFont {
    std::uint8_t charset;
    std::u16string typeface;
};

void PrintTo(const ChineseFont& font, std::ostream* out) { *out << "charset " << +font.charset; }

class DialogTemplateChineseFont : public ::testing::TestWithParam<ChineseFont> {};

TEST_P(DialogTemplateChineseFont, ChangesOnlyTheFontBlockAndItemAlignment) {
    const ChineseFont& font = GetParam();
    const Bytes& res = RealDialog();
    ASSERT_FALSE(res.empty());
    const auto original = Parse(res);
    const auto t = Parse(res);
    ASSERT_NE(original, nullptr);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(original->typeface(), u"MS Shell Dlg");

    t->SetFont(9, 400, 0, font.charset, font.typeface);
    // Rule: parsed length + 4 per item + 2, minus "MS Shell Dlg" (24 bytes), plus the new face.
    EXPECT_EQ(t->builtSize(), res.size() + 4 * kRealItemCount + 2 - 24 + 2 * font.typeface.size());
    t->Build();
    const Bytes out = Copy(t->BuiltBytes());
    EXPECT_GT(t->builtSize(), out.size());

    // Everything before the font block is unchanged (DS_SETFONT was already set).
    ASSERT_GT(out.size(), kRealFontOffset);
    EXPECT_TRUE(std::equal(res.begin(), res.begin() + kRealFontOffset, out.begin()));

    // The font block: 9 pt, weight 400, not italic, the charset, the typeface and terminator.
    Bytes block = {0x09, 0x00, 0x90, 0x01, 0x00, font.charset};
    const Bytes face = Utf16z(font.typeface);
    block.insert(block.end(), face.begin(), face.end());
    ASSERT_GE(out.size(), kRealFontOffset + block.size());
    EXPECT_EQ(Bytes(out.begin() + kRealFontOffset, out.begin() + kRealFontOffset + block.size()),
              block);

    // Each item's bytes are the same, only moved; the gaps before them are zero.
    const Bytes oldFace = Utf16z(u"MS Shell Dlg");
    const auto oldOffsets = ItemOffsets(res, kRealFontOffset + 6 + oldFace.size(), kRealItemCount);
    const auto newOffsets = ItemOffsets(out, kRealFontOffset + block.size(), kRealItemCount);
    ASSERT_EQ(oldOffsets.size(), kRealItemCount + 1);
    ASSERT_EQ(newOffsets.size(), kRealItemCount + 1);
    EXPECT_EQ(newOffsets.back(), out.size());
    std::size_t previousEnd = kRealFontOffset + block.size();
    for (std::size_t i = 0; i < kRealItemCount; ++i) {
        SCOPED_TRACE("item " + std::to_string(i));
        EXPECT_TRUE(std::all_of(out.begin() + previousEnd, out.begin() + newOffsets[i],
                                [](std::uint8_t b) { return b == 0; }));
        DialogItem before, after;
        const auto oldLength = before.Parse(std::span(res).subspan(oldOffsets[i]), true);
        const auto newLength = after.Parse(std::span(out).subspan(newOffsets[i]), true);
        ASSERT_TRUE(oldLength && newLength);
        ASSERT_EQ(*newLength, *oldLength);
        EXPECT_TRUE(std::equal(out.begin() + newOffsets[i],
                               out.begin() + newOffsets[i] + *newLength,
                               res.begin() + oldOffsets[i]));
        previousEnd = newOffsets[i] + *newLength;
    }

    // Parsed again: the header apart from the font, and every item, compare equal.
    const auto reparsed = Parse(out);
    ASSERT_NE(reparsed, nullptr);
    EXPECT_EQ(reparsed->pointsize(), 9);
    EXPECT_EQ(reparsed->weight(), 400);
    EXPECT_EQ(reparsed->italic(), 0);
    EXPECT_EQ(reparsed->charset(), font.charset);
    EXPECT_EQ(reparsed->typeface(), font.typeface);
    EXPECT_EQ(reparsed->style(), original->style());
    EXPECT_EQ(reparsed->title(), original->title());
    ASSERT_EQ(reparsed->items().size(), kRealItemCount);
    for (std::size_t i = 0; i < kRealItemCount; ++i) {
        EXPECT_TRUE(reparsed->items()[i] == original->items()[i]) << "item " << i;
    }
    EXPECT_EQ(DescribeModelDifference(*reparsed, *t), "");
}

INSTANTIATE_TEST_SUITE_P(SimplifiedAndTraditional, DialogTemplateChineseFont,
                         ::testing::Values(ChineseFont{134, u"宋体"}, ChineseFont{136, u"細明體"}));

TEST(DialogTemplateRealResource, BuildIsReusedUntilFreeBuilt) {
    const auto t = Parse(RealDialog());
    ASSERT_NE(t, nullptr);
    t->FreeBuilt();  // nothing built yet: no effect
    EXPECT_FALSE(t->IsBuilt());

    const void* first = t->Build();
    const Bytes firstBytes = Copy(t->BuiltBytes());
    t->SetFont(9, 400, 0, 136, u"細明體");
    const void* second = t->Build();
    EXPECT_EQ(second, first);
    EXPECT_EQ(Copy(t->BuiltBytes()), firstBytes);
    EXPECT_EQ(firstBytes, RealDialog());

    t->FreeBuilt();
    EXPECT_FALSE(t->IsBuilt());
    EXPECT_TRUE(t->BuiltBytes().empty());
    t->Build();
    const auto rebuilt = Parse(t->BuiltBytes());
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(rebuilt->charset(), 136);
    EXPECT_EQ(rebuilt->typeface(), u"細明體");
    // Destruction with a copy still built releases it too (checked by the leak sanitizer).
}

TEST(DialogTemplateRealResource, EveryTruncationIsRejected) {
    const Bytes& res = RealDialog();
    ASSERT_FALSE(res.empty());
    for (std::size_t length = 0; length < res.size(); ++length) {
        // An allocation of exactly `length` bytes, so reading past it trips AddressSanitizer.
        auto exact = std::make_unique<std::uint8_t[]>(length);
        std::memcpy(exact.get(), res.data(), length);
        std::string error;
        const auto t = DialogTemplate::FromBytes({exact.get(), length}, &error);
        EXPECT_EQ(t, nullptr) << "accepted " << length << " of " << res.size() << " bytes";
        EXPECT_FALSE(error.empty()) << length;
    }
}

}  // namespace
