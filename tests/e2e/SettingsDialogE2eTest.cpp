// End-to-end tests of TorvanPatch.exe: the real program under Wine, driven through the window
// messages a user's clicks and keys produce, checked through its windows and the registry.
// The suite runs once per locale (LC_ALL); TORVAN_EXPECT_LANGID names the locale's LANGID.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "AppDriver.h"
#include "ResourceIds.h"
#include "Texts.h"

namespace {

using namespace e2e;

constexpr int kSimplified = 0;
constexpr int kTraditional = 1;
constexpr int kEnglish = 2;

const LanguageTexts* const kTexts[] = {&TextsGb2312, &TextsBig5, &TextsOther};
// The stored "Language" values with their terminating NUL.
constexpr std::string_view kStoredLanguage[] = {{"GB2312", 7}, {"BIG5", 5}, {"OTHER", 6}};

// What the locale of this run implies, independent of the program's own tables.
struct LocaleFacts {
    LANGID langId;
    UINT codePage;
    int language;              // UI language when the key holds no usable "Language"
    const char16_t* typeface;  // the dialog font
    int pointSize;
};

constexpr LocaleFacts kLocales[] = {
    {0x0409, 1252, kEnglish, u"MS Shell Dlg", 8}, {0x0804, 936, kSimplified, u"宋体", 9},
    {0x1004, 936, kSimplified, u"宋体", 9},       {0x0404, 950, kTraditional, u"細明體", 9},
    {0x0C04, 950, kTraditional, u"細明體", 9},    {0x1404, 950, kTraditional, u"細明體", 9},
};

// The settings as the dialog shows them and the registry holds them.
struct Record {
    std::int32_t windowed, fullScreen, bgmTessal, bgm16Bit, bgmStereo;
    std::int32_t sampleRate, positionX, positionY, width, height;
};
constexpr Record kStartValues{0, 0, 1, 1, 0, 44100, 0, 0, 640, 400};

struct Field {
    const char* valueName;
    int control;
    std::int32_t Record::*member;
};
constexpr Field kFlags[] = {
    {"Windowed", IDC_WINDOWED, &Record::windowed},
    {"FullScreen", IDC_FULLSCREEN, &Record::fullScreen},
    {"BgmTessal", IDC_BGM_TESSAL, &Record::bgmTessal},
    {"Bgm16Bit", IDC_BGM_16BIT, &Record::bgm16Bit},
    {"BgmStereo", IDC_BGM_STEREO, &Record::bgmStereo},
};
constexpr Field kNumbers[] = {
    {"BgmSampleRate", IDC_SAMPLE_RATE, &Record::sampleRate},
    {"PositionX", IDC_POS_X, &Record::positionX},
    {"PositionY", IDC_POS_Y, &Record::positionY},
    {"WindowWidth", IDC_WIDTH, &Record::width},
    {"WindowHeight", IDC_HEIGHT, &Record::height},
};
constexpr int kWindowedDependents[] = {IDC_FULLSCREEN, IDC_POS_X, IDC_POS_Y, IDC_WIDTH, IDC_HEIGHT};
constexpr int kTessalDependents[] = {IDC_BGM_16BIT, IDC_BGM_STEREO, IDC_SAMPLE_RATE};

struct TextItem {
    int control;
    const char* LanguageTexts::*text;
};
constexpr TextItem kTextItems[] = {
    {IDC_SAVE, &LanguageTexts::SaveCaption},
    {IDC_LOAD, &LanguageTexts::LoadCaption},
    {IDC_ABOUT, &LanguageTexts::AboutButtonCaption},
    {IDC_WINDOWED, &LanguageTexts::WindowedLabel},
    {IDC_FULLSCREEN, &LanguageTexts::FullScreenLabel},
    {IDC_BGM_TESSAL, &LanguageTexts::BgmTessalLabel},
    {IDC_BGM_16BIT, &LanguageTexts::Bgm16BitLabel},
    {IDC_BGM_STEREO, &LanguageTexts::BgmStereoLabel},
    {IDC_LANGUAGE_LABEL, &LanguageTexts::LanguageLabel},
    {IDC_SAMPLE_RATE_LABEL, &LanguageTexts::SampleRateLabel},
    {IDC_POS_X_LABEL, &LanguageTexts::PosXLabel},
    {IDC_POS_Y_LABEL, &LanguageTexts::PosYLabel},
    {IDC_WIDTH_LABEL, &LanguageTexts::WidthLabel},
    {IDC_HEIGHT_LABEL, &LanguageTexts::HeightLabel},
};

std::int32_t AsInt32(const std::string& bytes) {
    std::int32_t value = 0;
    std::memcpy(&value, bytes.data(), sizeof value);
    return value;
}

class SettingsDialogE2e : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* expected = std::getenv("TORVAN_EXPECT_LANGID");
        ASSERT_NE(expected, nullptr) << "TORVAN_EXPECT_LANGID is not set";
        const auto langId = static_cast<LANGID>(std::strtoul(expected, nullptr, 16));
        const auto match = std::find_if(std::begin(kLocales), std::end(kLocales),
                                        [&](const LocaleFacts& l) { return l.langId == langId; });
        ASSERT_NE(match, std::end(kLocales)) << "no expectations for LANGID " << expected;
        locale_ = *match;
        // A misconfigured Wine locale would make every locale-dependent check meaningless.
        ASSERT_EQ(GetUserDefaultLangID(), locale_.langId) << "LC_ALL does not give the LANGID";
        ASSERT_EQ(GetACP(), locale_.codePage) << "LC_ALL does not give the code page";
        DeleteVendorKey();
    }

    void TearDown() override {
        app_.reset();  // kills a program that is still running
        DeleteVendorKey();
    }

    void Start(const std::string& arguments = {}) {
        app_ = std::make_unique<AppProcess>(arguments);
        dialog_ = app_->WaitForDialog();
    }

    HWND Combo() const { return Item(dialog_, IDC_LANGUAGE); }

    // Compared byte for byte: under Wine every text of the three sets survives each of the
    // code pages unchanged, so a wrong byte in the program shows up here.
    void ExpectTexts(int language) const {
        SCOPED_TRACE("texts of language " + std::to_string(language));
        const LanguageTexts& texts = *kTexts[language];
        EXPECT_EQ(Text(dialog_), texts.Title) << "window title";
        for (const TextItem& item : kTextItems) {
            EXPECT_EQ(ItemText(dialog_, item.control), texts.*item.text)
                << "control " << item.control;
        }
        EXPECT_EQ(ComboSelection(Combo()), language);
    }

    void ExpectDialogShows(const Record& record) const {
        for (const Field& flag : kFlags) {
            EXPECT_EQ(ItemChecked(dialog_, flag.control), record.*flag.member != 0)
                << flag.valueName;
        }
        for (const Field& number : kNumbers) {
            EXPECT_EQ(ItemText(dialog_, number.control), std::to_string(record.*number.member))
                << number.valueName;
        }
        ExpectEnabled(kWindowedDependents, record.windowed != 0);
        ExpectEnabled(kTessalDependents, record.bgmTessal != 0);
    }

    void ExpectEnabled(std::span<const int> controls, bool enabled) const {
        for (int id : controls) EXPECT_EQ(ItemEnabled(dialog_, id), enabled) << "control " << id;
    }

    void ExpectStored(int language, const Record& record) const {
        std::vector<std::string> names = StoredValueNames();
        std::sort(names.begin(), names.end());
        std::vector<std::string> expectedNames{"Language"};
        for (const Field& f : kFlags) expectedNames.emplace_back(f.valueName);
        for (const Field& f : kNumbers) expectedNames.emplace_back(f.valueName);
        std::sort(expectedNames.begin(), expectedNames.end());
        EXPECT_EQ(names, expectedNames);

        const auto stored = ReadStoredValue("Language");
        ASSERT_TRUE(stored) << "Language";
        EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(stored->bytes, kStoredLanguage[language]);
        for (const Field& f : kFlags) ExpectStoredDword(f, record);
        for (const Field& f : kNumbers) ExpectStoredDword(f, record);
    }

    static void StoreRecord(int language, const Record& record) {
        StoreBytes("Language", REG_SZ, kStoredLanguage[language]);
        for (const Field& f : kFlags) StoreDword(f.valueName, record.*f.member);
        for (const Field& f : kNumbers) StoreDword(f.valueName, record.*f.member);
    }

    static void ExpectStoredDword(const Field& field, const Record& record) {
        const auto stored = ReadStoredValue(field.valueName);
        ASSERT_TRUE(stored) << field.valueName;
        EXPECT_EQ(stored->type, static_cast<DWORD>(REG_DWORD)) << field.valueName;
        ASSERT_EQ(stored->bytes.size(), 4u) << field.valueName;
        EXPECT_EQ(AsInt32(stored->bytes), record.*field.member) << field.valueName;
    }

    void ExpectLocaleFont() const {
        const int pixels = [&] {
            HDC screen = GetDC(nullptr);
            const int height = MulDiv(locale_.pointSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
            ReleaseDC(nullptr, screen);
            return -height;
        }();
        // The dialog and a control: the dialog manager hands its font to every control.
        for (HWND window : {dialog_, Item(dialog_, IDC_WINDOWED)}) {
            const ProbeReport report = Probe(window);
            ASSERT_TRUE(report.hasFont);
            EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(report.font.lfFaceName)),
                      locale_.typeface);
            EXPECT_EQ(report.font.lfHeight, pixels);
        }
    }

    // Checks an open message box owned by the dialog, then presses its OK button.
    void ExpectMessageBoxAndClose(HWND box, const std::string& caption, const std::string& text,
                                  bool icon) const {
        EXPECT_EQ(Text(box), caption);
        EXPECT_EQ(ItemText(box, 0xFFFF), text);
        EXPECT_FALSE(IsWindowEnabled(dialog_)) << "the box must be modal to the dialog";
        std::vector<int> buttons;
        for (HWND button : ChildrenOfClass(box, "Button")) {
            if (IsWindowVisible(button)) buttons.push_back(GetDlgCtrlID(button));
        }
        EXPECT_EQ(buttons, std::vector<int>{IDOK});
        bool iconShown = false;
        for (HWND statik : ChildrenOfClass(box, "Static")) {
            const bool isIcon = (GetWindowLongA(statik, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
            if (isIcon && IsWindowVisible(statik) && Probe(statik).hasStaticIcon) iconShown = true;
        }
        EXPECT_EQ(iconShown, icon);

        Send(Item(box, IDOK), BM_CLICK);
        WaitUntilGone(box);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialog_) != FALSE; }));
    }

    void ExpectAboutBox(int language) const {
        SCOPED_TRACE("About box of language " + std::to_string(language));
        PostClick(dialog_, IDC_ABOUT);  // a sent click would block while the box is open
        const LanguageTexts& texts = *kTexts[language];
        ExpectMessageBoxAndClose(app_->WaitForOwnedBox(dialog_), texts.AboutCaption,
                                 texts.AboutText, false);
    }

    void ExpectSaveFailedBox(int language) const {
        SCOPED_TRACE("Save failure box of language " + std::to_string(language));
        PostClick(dialog_, IDC_SAVE);
        const LanguageTexts& texts = *kTexts[language];
        // An error box: it carries the error icon, under the dialog's own title.
        ExpectMessageBoxAndClose(app_->WaitForOwnedBox(dialog_), texts.Title, texts.SaveFailedText,
                                 true);
    }

    LocaleFacts locale_{};
    std::unique_ptr<AppProcess> app_;
    HWND dialog_ = nullptr;
};

TEST_F(SettingsDialogE2e, FirstStartShowsSimplifiedChineseWithStartValues) {
    Start();
    // No key: language 0 whatever the locale, yet the font follows the locale.
    ExpectTexts(kSimplified);
    ExpectDialogShows(kStartValues);
    ExpectLocaleFont();

    EXPECT_EQ(ComboEntries(Combo()), std::vector<std::string>(std::begin(LanguageComboEntries),
                                                              std::end(LanguageComboEntries)));

    const ProbeReport icons = Probe(dialog_);
    EXPECT_TRUE(icons.hasBigIcon);
    EXPECT_TRUE(icons.hasSmallIcon);
    EXPECT_FALSE(SettingsKeyExists()) << "starting must not write the registry";
}

TEST_F(SettingsDialogE2e, SaveStraightAfterFirstStartWritesEveryStartValue) {
    Start();
    Click(dialog_, IDC_SAVE);
    ExpectStored(kSimplified, kStartValues);
}

TEST_F(SettingsDialogE2e, WindowedCheckBoxGovernsFiveControlsWhoseValuesAreStillSaved) {
    Start();
    Click(dialog_, IDC_WINDOWED);
    EXPECT_TRUE(ItemChecked(dialog_, IDC_WINDOWED));
    ExpectEnabled(kWindowedDependents, true);
    Click(dialog_, IDC_FULLSCREEN);
    SetItemText(dialog_, IDC_POS_X, "-7");
    SetItemText(dialog_, IDC_POS_Y, "13");
    SetItemText(dialog_, IDC_WIDTH, "800");
    SetItemText(dialog_, IDC_HEIGHT, "600");

    Click(dialog_, IDC_WINDOWED);
    EXPECT_FALSE(ItemChecked(dialog_, IDC_WINDOWED));
    ExpectEnabled(kWindowedDependents, false);
    ExpectEnabled(kTessalDependents, true);
    EXPECT_EQ(ItemText(dialog_, IDC_WIDTH), "800") << "disabling keeps the value shown";

    Click(dialog_, IDC_SAVE);
    ExpectStored(kSimplified, {0, 1, 1, 1, 0, 44100, -7, 13, 800, 600});
}

TEST_F(SettingsDialogE2e, BgmTessalCheckBoxGovernsThreeControlsWhoseValuesAreStillSaved) {
    Start();
    Click(dialog_, IDC_BGM_TESSAL);
    EXPECT_FALSE(ItemChecked(dialog_, IDC_BGM_TESSAL));
    ExpectEnabled(kTessalDependents, false);
    Click(dialog_, IDC_BGM_TESSAL);
    ExpectEnabled(kTessalDependents, true);
    Click(dialog_, IDC_BGM_16BIT);
    Click(dialog_, IDC_BGM_STEREO);
    SetItemText(dialog_, IDC_SAMPLE_RATE, "22050");
    Click(dialog_, IDC_BGM_TESSAL);
    ExpectEnabled(kTessalDependents, false);
    ExpectEnabled(kWindowedDependents, false);

    Click(dialog_, IDC_SAVE);
    ExpectStored(kSimplified, {0, 0, 0, 0, 1, 22050, 0, 0, 640, 400});
}

TEST_F(SettingsDialogE2e, NumberFieldsAreReadLikeStrtolAndSaveDoesNotRepaint) {
    Start();
    SetItemText(dialog_, IDC_WIDTH, "12abc");
    SetItemText(dialog_, IDC_HEIGHT, "abc");
    SetItemText(dialog_, IDC_POS_X, "  -5");
    SetItemText(dialog_, IDC_POS_Y, "99999999999");
    SetItemText(dialog_, IDC_SAMPLE_RATE, "-99999999999");
    Click(dialog_, IDC_SAVE);
    // Eleven characters are read, so "-9999999999" clamps (ten would give -999999999).
    ExpectStored(kSimplified, {0, 0, 1, 1, 0, INT32_MIN, -5, INT32_MAX, 12, 0});
    EXPECT_EQ(ItemText(dialog_, IDC_WIDTH), "12abc");
    EXPECT_EQ(ItemText(dialog_, IDC_HEIGHT), "abc");
    EXPECT_EQ(ItemText(dialog_, IDC_POS_X), "  -5");
    EXPECT_EQ(ItemText(dialog_, IDC_POS_Y), "99999999999");

    // A language switch repaints the fields from the values read.
    PickComboEntry(Combo(), kEnglish);
    ExpectDialogShows({0, 0, 1, 1, 0, INT32_MIN, -5, INT32_MAX, 12, 0});
}

TEST_F(SettingsDialogE2e, StoredValuesAreShownAndSavedBackNormalised) {
    StoreDword("Windowed", 7);
    StoreDword("FullScreen", 1);
    StoreDword("BgmTessal", 0);
    StoreDword("PositionX", -20);
    StoreDword("PositionY", INT32_MIN);
    StoreDword("WindowWidth", INT32_MAX);
    Start();
    // No "Language" stored: the locale decides.
    ExpectTexts(locale_.language);
    const Record shown{1, 1, 0, 1, 0, 44100, -20, INT32_MIN, INT32_MAX, 400};
    ExpectDialogShows(shown);
    EXPECT_EQ(ItemText(dialog_, IDC_POS_Y), "-2147483648");

    Click(dialog_, IDC_SAVE);
    ExpectStored(locale_.language, shown);
}

TEST_F(SettingsDialogE2e, LanguageSwitchKeepsUnsavedEditsAndRepaintsEveryText) {
    Start();
    Click(dialog_, IDC_WINDOWED);
    Click(dialog_, IDC_BGM_16BIT);
    Click(dialog_, IDC_BGM_STEREO);
    SetItemText(dialog_, IDC_WIDTH, "1234");
    SetItemText(dialog_, IDC_POS_X, "-3");
    const Record edited{1, 0, 1, 0, 1, 44100, -3, 0, 1234, 400};

    PickComboEntry(Combo(), kEnglish);
    ExpectTexts(kEnglish);
    ExpectDialogShows(edited);
    ExpectAboutBox(kEnglish);

    PickComboEntry(Combo(), kTraditional);
    ExpectTexts(kTraditional);
    ExpectDialogShows(edited);
    EXPECT_EQ(ComboEntries(Combo()).size(), 3u) << "switching must not add entries";
    ExpectAboutBox(kTraditional);
    ExpectLocaleFont();  // the UI language does not change the font
    EXPECT_FALSE(SettingsKeyExists()) << "only Save writes";

    Click(dialog_, IDC_SAVE);
    ExpectStored(kTraditional, edited);
}

TEST_F(SettingsDialogE2e, LoadDiscardsUnsavedEditsAndRestoresStoredLanguage) {
    const Record stored{1, 1, 0, 0, 1, 22050, 10, 20, 800, 600};
    StoreRecord(kEnglish, stored);
    Start();
    ExpectTexts(kEnglish);
    ExpectDialogShows(stored);

    SetItemText(dialog_, IDC_WIDTH, "5");
    Click(dialog_, IDC_WINDOWED);
    Click(dialog_, IDC_BGM_TESSAL);
    PickComboEntry(Combo(), kSimplified);
    ExpectTexts(kSimplified);
    ExpectDialogShows({0, 1, 1, 0, 1, 22050, 10, 20, 5, 600});

    Click(dialog_, IDC_LOAD);
    ExpectTexts(kEnglish);
    ExpectDialogShows(stored);
    ExpectStored(kEnglish, stored);  // Load writes nothing
}

TEST_F(SettingsDialogE2e, LoadWithoutStoredLanguageDropsAnUnsavedPickForTheLocaleLanguage) {
    StoreDword("WindowWidth", 777);
    Start();
    ExpectTexts(locale_.language);
    const int other = (locale_.language + 1) % 3;
    PickComboEntry(Combo(), other);
    ExpectTexts(other);

    Click(dialog_, IDC_LOAD);
    ExpectTexts(locale_.language);
    EXPECT_EQ(ItemText(dialog_, IDC_WIDTH), "777");
}

TEST_F(SettingsDialogE2e, LoadWithoutKeyRepaintsTheRecordAsLastTakenFromTheDialog) {
    Start();
    SetItemText(dialog_, IDC_WIDTH, "1111");
    Click(dialog_, IDC_LOAD);
    ExpectTexts(kSimplified);
    ExpectDialogShows(kStartValues);

    // A language switch copies the controls into the record; Load then has nothing to replace
    // them with, so the switched language and the value survive, later edits do not.
    SetItemText(dialog_, IDC_WIDTH, "2222");
    PickComboEntry(Combo(), kEnglish);
    SetItemText(dialog_, IDC_WIDTH, "3333");
    Click(dialog_, IDC_LOAD);
    ExpectTexts(kEnglish);
    EXPECT_EQ(ItemText(dialog_, IDC_WIDTH), "2222");
    EXPECT_FALSE(SettingsKeyExists());
}

struct StoredLanguageCase {
    const char* name;
    DWORD type;  // REG_NONE: the key exists without a "Language" value
    std::string_view bytes;
    int language;  // -1: the locale's language
};

// Failure messages name the case instead of dumping its bytes.
void PrintTo(const StoredLanguageCase& c, std::ostream* out) { *out << c.name; }

class StoredLanguageE2e : public SettingsDialogE2e,
                          public ::testing::WithParamInterface<StoredLanguageCase> {};

TEST_P(StoredLanguageE2e, SelectsTheTextsButNeverTheFont) {
    const StoredLanguageCase& c = GetParam();
    if (c.type == REG_NONE) {
        CreateSettingsKey();
    } else {
        StoreBytes("Language", c.type, c.bytes);
    }
    Start();
    const int language = c.language < 0 ? locale_.language : c.language;
    ExpectTexts(language);
    ExpectDialogShows(kStartValues);
    ExpectLocaleFont();
}

INSTANTIATE_TEST_SUITE_P(
    , StoredLanguageE2e,
    ::testing::Values(StoredLanguageCase{"Gb2312", REG_SZ, {"GB2312", 7}, kSimplified},
                      StoredLanguageCase{"Big5", REG_SZ, {"BIG5", 5}, kTraditional},
                      StoredLanguageCase{"Other", REG_SZ, {"OTHER", 6}, kEnglish},
                      StoredLanguageCase{"LowerCaseBig5", REG_SZ, {"big5", 5}, kEnglish},
                      StoredLanguageCase{"Absent", REG_NONE, {}, -1},
                      StoredLanguageCase{"ExpandSz", REG_EXPAND_SZ, {"GB2312", 7}, -1},
                      StoredLanguageCase{"SevenCharacters", REG_SZ, {"GB2312X", 8}, -1}),
    [](const ::testing::TestParamInfo<StoredLanguageCase>& info) { return info.param.name; });

TEST_F(SettingsDialogE2e, AboutBoxIsAPlainModalBoxAndTheDialogGoesOn) {
    Start();
    ExpectAboutBox(kSimplified);
    Click(dialog_, IDC_WINDOWED);
    EXPECT_TRUE(ItemChecked(dialog_, IDC_WINDOWED)) << "the dialog must work after the box";
}

TEST_F(SettingsDialogE2e, EnterAndEscapeLeaveTheDialogOpen) {
    Start();
    // First on the initial focus (a check box), then in a number field, where a user would
    // most likely press Enter to confirm a value.
    PressKey(dialog_, VK_RETURN);
    PressKey(dialog_, VK_ESCAPE);
    ClickInto(dialog_, IDC_SAMPLE_RATE);
    PressKey(dialog_, VK_RETURN);
    PressKey(dialog_, VK_ESCAPE);
    // A queued click behind the keys: once it has been handled, so have the keys.
    PostClick(dialog_, IDC_BGM_STEREO);
    EXPECT_TRUE(WaitUntil([&] { return ItemChecked(dialog_, IDC_BGM_STEREO); }));
    EXPECT_TRUE(app_->Running());
    EXPECT_TRUE(IsWindowVisible(dialog_));
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(SettingsDialogE2e, CloseButtonEndsTheProgramWithExitCodeZeroWithoutSaving) {
    Start();
    SetItemText(dialog_, IDC_WIDTH, "999");
    Post(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD exitCode = 1234;
    ASSERT_TRUE(app_->WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(SettingsDialogE2e, CommandLineArgumentsAreIgnored) {
    StoreBytes("Language", REG_SZ, kStoredLanguage[kEnglish]);
    StoreDword("WindowWidth", 1024);
    Start("/reset --language=BIG5 Windowed=1 \"C:\\no such\\file.ini\"");
    ExpectTexts(kEnglish);
    ExpectDialogShows({0, 0, 1, 1, 0, 44100, 0, 0, 1024, 400});
    Post(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD exitCode = 1234;
    ASSERT_TRUE(app_->WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(SettingsDialogE2e, SaveThatCannotCreateTheKeySaysSoInTheCurrentLanguage) {
    // A non-volatile key cannot be created below a volatile one: the closest Wine gets to a
    // user without write access to HKEY_LOCAL_MACHINE.
    CreateVolatileVendorKey();
    Start();
    ExpectSaveFailedBox(kSimplified);
    EXPECT_FALSE(SettingsKeyExists());

    PickComboEntry(Combo(), kEnglish);
    ExpectSaveFailedBox(kEnglish);
    EXPECT_TRUE(app_->Running());
    EXPECT_FALSE(SettingsKeyExists());
}

}  // namespace
