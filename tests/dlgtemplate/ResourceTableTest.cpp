// Checks the compiled dialog resource against the intended layout, field by field, so a typo in
// the resource script (a style, an id, a coordinate, a text) fails here.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "../../app/ResourceIds.h"
#include "DialogTemplate.h"
#include "ResFile.h"

namespace {

constexpr std::uint16_t kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kComboBox = 0x85;
constexpr std::uint32_t kCheckBox = 0x50010003;  // WS_CHILD|WS_VISIBLE|WS_TABSTOP|BS_AUTOCHECKBOX
constexpr std::uint32_t kLabel = 0x50020000;     // WS_CHILD|WS_VISIBLE|WS_GROUP|SS_LEFT
// WS_CHILD|WS_VISIBLE|WS_BORDER|WS_TABSTOP|ES_LEFT|ES_AUTOHSCROLL
constexpr std::uint32_t kEditField = 0x50810080;
// WS_CHILD|WS_VISIBLE|WS_VSCROLL|WS_TABSTOP|CBS_DROPDOWNLIST, not CBS_SORT
constexpr std::uint32_t kDropDownList = 0x50210003;
constexpr std::uint32_t kPushButton = 0x50010000;  // WS_CHILD|WS_VISIBLE|WS_TABSTOP|BS_PUSHBUTTON

struct Control {
    std::uint32_t id;
    std::uint16_t windowClass;
    std::uint32_t style;
    std::int16_t x, y, cx, cy;
    std::u16string text;  // empty: no title at all
};

// In template order, which is the tab order.
const std::vector<Control> kControls = {
    {IDC_WINDOWED, kButton, kCheckBox, 7, 19, 204, 10, u"Enable Windowed functions"},
    {IDC_FULLSCREEN, kButton, kCheckBox, 7, 31, 204, 10, u"Startup in fullscreen mode"},
    {IDC_BGM_TESSAL, kButton, kCheckBox, 7, 43, 204, 10, u"Use TESSAL format as background music"},
    {IDC_BGM_16BIT, kButton, kCheckBox, 7, 55, 204, 10,
     u"Use 16-bit output of TESSAL format background music"},
    {IDC_BGM_STEREO, kButton, kCheckBox, 7, 67, 204, 10,
     u"Use stereo output of TESSAL format background music"},
    // The last two characters are what the Big5 bytes of the Traditional word give in GB2312.
    {IDC_LANGUAGE_LABEL, kStatic, kLabel, 7, 79, 204, 10, u"Language/语言/粂ē"},
    {IDC_SAMPLE_RATE_LABEL, kStatic, kLabel, 7, 105, 204, 10,
     u"Sample rate of TESSAL format background music"},
    {IDC_SAMPLE_RATE, kEdit, kEditField, 7, 115, 50, 12, u""},
    {IDC_POS_X_LABEL, kStatic, kLabel, 7, 131, 204, 10, u"Initial X position of game window"},
    {IDC_POS_Y_LABEL, kStatic, kLabel, 7, 157, 204, 10, u"Initial Y position of game window"},
    {IDC_POS_X, kEdit, kEditField, 7, 141, 50, 12, u""},
    {IDC_POS_Y, kEdit, kEditField, 7, 167, 50, 12, u""},
    {IDC_LANGUAGE, kComboBox, kDropDownList, 7, 89, 82, 49, u""},
    {IDC_WIDTH_LABEL, kStatic, kLabel, 7, 183, 204, 10, u"Initial width of game window"},
    {IDC_HEIGHT_LABEL, kStatic, kLabel, 7, 209, 204, 10, u"Initial height of game window"},
    {IDC_WIDTH, kEdit, kEditField, 7, 193, 50, 12, u""},
    // Lined up with the rest of the left column.
    {IDC_HEIGHT, kEdit, kEditField, 7, 219, 50, 12, u""},
    {IDC_SAVE, kButton, kPushButton, 7, 234, 44, 14, u"&Save"},
    {IDC_LOAD, kButton, kPushButton, 87, 234, 44, 14, u"&Load"},
    {IDC_ABOUT, kButton, kPushButton, 167, 234, 44, 14, u"&About"},
};

std::unique_ptr<DialogTemplate> LoadCompiledDialog() {
    const auto bytes = SettingsDialogBytes(TORVAN_TEST_RES_FILE);
    EXPECT_FALSE(bytes.empty()) << "RT_DIALOG 101, language 0x0804, not in "
                                << TORVAN_TEST_RES_FILE;
    std::string error;
    auto t = DialogTemplate::FromBytes(bytes, &error);
    EXPECT_NE(t, nullptr) << error;
    return t;
}

TEST(SettingsDialogResource, HeaderMatchesTheLayout) {
    const auto t = LoadCompiledDialog();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->dlgVer(), 1);
    EXPECT_EQ(t->signature(), 0xFFFF);
    EXPECT_EQ(t->helpID(), 0u);
    EXPECT_EQ(t->exStyle(), 0u);
    // WS_POPUP|WS_CAPTION|WS_SYSMENU|DS_CENTER|DS_SETFONT|DS_FIXEDSYS; not WS_VISIBLE.
    EXPECT_EQ(t->style(), 0x80C80848u);
    EXPECT_EQ(t->itemCount(), kControls.size());
    EXPECT_EQ(t->x(), 0);
    EXPECT_EQ(t->y(), 0);
    EXPECT_EQ(t->cx(), 218);
    EXPECT_EQ(t->cy(), 255);
    EXPECT_TRUE(t->menu().IsAbsent());
    EXPECT_TRUE(t->windowClass().IsAbsent());
    EXPECT_EQ(t->title(), u"Patch for TORVAN95 Setting");
    EXPECT_EQ(t->pointsize(), 8);
    EXPECT_EQ(t->weight(), 400);
    EXPECT_EQ(t->italic(), 0);
    EXPECT_EQ(t->charset(), 0);
    EXPECT_EQ(t->typeface(), u"MS Shell Dlg");
}

TEST(SettingsDialogResource, EveryControlMatchesTheLayoutInOrder) {
    const auto t = LoadCompiledDialog();
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->items().size(), kControls.size());
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const Control& want = kControls[i];
        const DialogItem& item = t->items()[i];
        SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(want.id));
        EXPECT_EQ(item.id(), want.id);
        EXPECT_TRUE(item.windowClass().IsOrdinal());
        EXPECT_EQ(item.windowClass().Ordinal(), want.windowClass);
        EXPECT_EQ(item.style(), want.style);
        EXPECT_EQ(item.helpID(), 0u);
        EXPECT_EQ(item.exStyle(), 0u);
        EXPECT_EQ(item.extraCount(), 0);
        EXPECT_EQ(item.x(), want.x);
        EXPECT_EQ(item.y(), want.y);
        EXPECT_EQ(item.cx(), want.cx);
        EXPECT_EQ(item.cy(), want.cy);
        if (want.text.empty()) {
            EXPECT_TRUE(item.title().IsAbsent());
        } else {
            EXPECT_TRUE(item.title().IsName());
            EXPECT_EQ(item.title().Name(), want.text);
        }
    }
}

TEST(SettingsDialogResource, DialogIsStoredUnderSimplifiedChineseOnly) {
    const auto res = ReadWholeFile(TORVAN_TEST_RES_FILE);
    ASSERT_TRUE(res.has_value());
    EXPECT_TRUE(FindResResource(*res, kResTypeDialog, IDD_SETTINGS, 0x0804).has_value());
    for (std::uint16_t language : {0x0000, 0x0409, 0x0404}) {
        EXPECT_FALSE(FindResResource(*res, kResTypeDialog, IDD_SETTINGS, language).has_value())
            << std::hex << language;
    }
}

}  // namespace
