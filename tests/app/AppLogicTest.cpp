// What no user can reach through the dialog: the record's language when the combo box has no
// selection, and the dialog font's charset, which Wine's dialog manager does not report.
#include <gtest/gtest.h>

#include "DialogTemplate.h"
#include "LocaleFont.h"
#include "Texts.h"

namespace {

TEST(AppLogic, EveryLanguageOutsideTheListShowsEnglish) {
    EXPECT_EQ(&TextsForLanguage(0), &TextsGb2312);
    EXPECT_EQ(&TextsForLanguage(1), &TextsBig5);
    for (UiLanguage other : {2, 7, -1}) EXPECT_EQ(&TextsForLanguage(other), &TextsOther);
}

TEST(AppLogic, ChineseLocalesGetAChineseFontWithItsCharset) {
    // The smallest template with a font block: header, no menu, class or title, 8 pt "X".
    const std::uint8_t bytes[] = {1, 0, 0xFF, 0xFF, 0, 0, 0,    0, 0, 0, 0,   0, 0x40, 0,
                                  0, 0, 0,    0,    0, 0, 0,    0, 0, 0, 0,   0, 0,    0,
                                  0, 0, 0,    0,    8, 0, 0x90, 1, 0, 0, 'X', 0, 0,    0};
    const struct {
        std::uint16_t langId;
        std::uint8_t charset;
        const char16_t* face;
    } cases[] = {{0x0804, 134, u"宋体"},   {0x1004, 134, u"宋体"},   {0x0404, 136, u"細明體"},
                 {0x0C04, 136, u"細明體"}, {0x1404, 136, u"細明體"}, {0x0409, 0, u"X"},
                 {0x0411, 0, u"X"}};
    for (const auto& c : cases) {
        const auto t = DialogTemplate::FromBytes(bytes);
        ASSERT_NE(t, nullptr);
        ApplyLocaleFont(*t, c.langId);
        EXPECT_EQ(t->charset(), c.charset) << std::hex << c.langId;
        EXPECT_EQ(t->typeface(), c.face) << std::hex << c.langId;
        EXPECT_EQ(t->pointsize(), c.charset ? 9 : 8) << std::hex << c.langId;
    }
}

}  // namespace
