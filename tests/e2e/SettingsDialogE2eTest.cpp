// The real TorvanPatch.exe under Wine, driven as a user would, checked through what the user
// sees and what the game patch reads. CTest runs it once per locale (LC_ALL); the run's
// TORVAN_EXPECT_LANGID names the locale's LANGID.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <vector>

#include "AppDriver.h"
#include "ResourceIds.h"

namespace e2e {

void PrintTo(const Value& v, std::ostream* out) {
    *out << "type " << v.type << " " << v.bytes.size() << " bytes";
}

namespace {

enum Language { kSimplified, kTraditional, kEnglish };

struct Locale {
    LANGID langId;
    UINT codePage;
    Language language;  // when the key holds no usable "Language"
    const wchar_t* face;
    int points;
};
constexpr Locale kLocales[] = {
    {0x0409, 1252, kEnglish, L"MS Shell Dlg", 8}, {0x0804, 936, kSimplified, L"宋体", 9},
    {0x1004, 936, kSimplified, L"宋体", 9},       {0x0404, 950, kTraditional, L"細明體", 9},
    {0x0C04, 950, kTraditional, L"細明體", 9},    {0x1404, 950, kTraditional, L"細明體", 9},
};

// What each language shows, as characters: encoded by Windows' own converter for the set's
// code page, they are an oracle independent of the program's byte tables.
constexpr UINT kSetCodePage[] = {936, 950, 1252};
struct Shown {
    int control;  // 0: the dialog's title
    const wchar_t* text[3];
};
const Shown kShown[] = {
    {0,
     {L"TORVAN95 完美补丁设置程序", L"TORVAN95 完美補丁設置程式", L"Patch for TORVAN95 Setting"}},
    {IDC_SAVE, {L"保存(&S)", L"保存(&S)", L"&Save"}},
    {IDC_LOAD, {L"读取(&L)", L"讀取(&L)", L"&Load"}},
    {IDC_ABOUT, {L"关于(&A)", L"關於(&A)", L"&About"}},
    {IDC_WINDOWED, {L"开启窗口化功能", L"開啟視窗化功能", L"Enable Windowed functions"}},
    {IDC_FULLSCREEN, {L"以全屏模式启动", L"以全屏模式啟動", L"Startup in fullscreen mode"}},
    {IDC_BGM_TESSAL,
     {L"使用TESSAL格式背景音乐", L"使用TESSAL格式背景音樂",
      L"Use TESSAL format as background music"}},
    {IDC_BGM_16BIT,
     {L"TESSAL格式背景音乐采用16位输出", L"TESSAL格式背景音樂採用16位元輸出",
      L"Use 16-bit output of TESSAL format background music"}},
    {IDC_BGM_STEREO,
     {L"TESSAL格式背景音乐采用双声道输出", L"TESSAL格式背景音樂採用雙聲道輸出",
      L"Use stereo output of TESSAL format background music"}},
    {IDC_SAMPLE_RATE_LABEL,
     {L"TESSAL格式背景音乐的采样率", L"TESSAL格式背景音樂的取樣速率",
      L"Sample rate of TESSAL format background music"}},
    {IDC_POS_X_LABEL,
     {L"游戏窗口的初始横坐标", L"遊戲窗口的初始橫坐標", L"Initial X position of game window"}},
    {IDC_POS_Y_LABEL,
     {L"游戏窗口的初始纵坐标", L"遊戲窗口的初始縱坐標", L"Initial Y position of game window"}},
    {IDC_WIDTH_LABEL,
     {L"游戏窗口的初始宽度", L"遊戲窗口的初始寬度", L"Initial width of game window"}},
    {IDC_HEIGHT_LABEL,
     {L"游戏窗口的初始高度", L"遊戲窗口的初始高度", L"Initial height of game window"}},
};
const wchar_t* const kAboutCaption[] = {L"关于 TORVAN95 完美补丁设置程序",
                                        L"關於TORVAN95 完美補丁設置程式",
                                        L"About Patch for TORVAN95 Setting"};
// Five lines; the last is indented by the byte width of the warning prefix.
const wchar_t* const kAboutText[] = {
    L"版本 1.0.0.6\r\n作者: Kavrenta 补丁小组\r\nE-mail: patch-team@example.com\r\n"
    L"警告: 修改的设置在下次启动游戏时生效。\r\n      保存设置需要写入注册表的权限。",
    L"版本1.0.0.6\r\n作者: Kavrenta 補丁小組\r\nE-mail: patch-team@example.com\r\n"
    L"警告: 修改的設置在下次啟動遊戲時生效。\r\n      保存設置需要寫入註冊表的權限。",
    L"Version 1.0.0.6\r\nAuthor: Kavrenta patch team\r\nE-mail: patch-team@example.com\r\n"
    L"Warning: Changed settings take effect the next time the game starts.\r\n"
    L"         Saving needs write access to the registry."};
const wchar_t* const kSaveFailed[] = {
    L"无法保存设置：写入注册表失败。", L"無法保存設置：寫入註冊表失敗。",
    L"Could not save the settings: writing to the registry failed."};

std::string Encode(const wchar_t* text, UINT codePage) {
    char bytes[1024] = {};
    WideCharToMultiByte(codePage, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
    return bytes;
}
std::string Encode(const wchar_t* const (&texts)[3], int language) {
    return Encode(texts[language], kSetCodePage[language]);
}

// The settings in registry order of the game patch; the first five are the check boxes.
using Record = std::array<std::int32_t, 10>;
constexpr Record kStart{0, 0, 1, 1, 0, 44100, 0, 0, 640, 400};
struct Field {
    const char* name;
    int control;
};
constexpr Field kFields[] = {
    {"Windowed", IDC_WINDOWED},    {"FullScreen", IDC_FULLSCREEN},
    {"BgmTessal", IDC_BGM_TESSAL}, {"Bgm16Bit", IDC_BGM_16BIT},
    {"BgmStereo", IDC_BGM_STEREO}, {"BgmSampleRate", IDC_SAMPLE_RATE},
    {"PositionX", IDC_POS_X},      {"PositionY", IDC_POS_Y},
    {"WindowWidth", IDC_WIDTH},    {"WindowHeight", IDC_HEIGHT},
};
constexpr int kWindowedDependents[] = {IDC_FULLSCREEN, IDC_POS_X, IDC_POS_Y, IDC_WIDTH, IDC_HEIGHT};
constexpr int kTessalDependents[] = {IDC_BGM_16BIT, IDC_BGM_STEREO, IDC_SAMPLE_RATE};
const Value kStoredLanguage[] = {
    {REG_SZ, {"GB2312", 7}}, {REG_SZ, {"BIG5", 5}}, {REG_SZ, {"OTHER", 6}}};

class E2e : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* expected = std::getenv("TORVAN_EXPECT_LANGID");
        ASSERT_NE(expected, nullptr);
        for (const Locale& l : kLocales)
            if (l.langId == std::strtoul(expected, nullptr, 16)) locale_ = l;
        // A locale that silently did not apply would make every locale check meaningless.
        ASSERT_EQ(GetUserDefaultLangID(), locale_.langId);
        ASSERT_EQ(GetACP(), locale_.codePage);
        ResetRegistry();
    }
    void TearDown() override {
        app_.reset();
        ResetRegistry();
    }

    void Start(const std::string& arguments = {}) {
        app_.emplace(arguments);
        dialog_ = app_->dialog;
    }
    HWND Control(int id) const { return id ? Item(dialog_, id) : dialog_; }
    void Pick(int language) const { PickEntry(Control(IDC_LANGUAGE), language); }

    void ExpectTexts(int language) const {
        SCOPED_TRACE("texts of language " + std::to_string(language));
        for (const Shown& s : kShown)
            EXPECT_EQ(Text(Control(s.control)), Encode(s.text, language)) << s.control;
        // One word for language in each encoding, the set's own first.
        const std::string gb = Encode(L"语言", 936), big5 = Encode(L"語言", 950);
        const std::string label[] = {gb + "/" + big5 + "/Language", big5 + "/" + gb + "/Language",
                                     "Language/" + gb + "/" + big5};
        EXPECT_EQ(Text(Control(IDC_LANGUAGE_LABEL)), label[language]);
        EXPECT_EQ(Send(Control(IDC_LANGUAGE), CB_GETCURSEL), language);
    }

    void ExpectShows(const Record& record) const {
        for (int i = 0; i < 10; ++i) {
            const HWND control = Control(kFields[i].control);
            const std::string shown = i < 5 ? std::to_string(Checked(control)) : Text(control);
            EXPECT_EQ(shown, std::to_string(i < 5 ? record[i] != 0 : record[i])) << kFields[i].name;
        }
        for (int id : kWindowedDependents)
            EXPECT_EQ(IsWindowEnabled(Control(id)) != 0, record[0] != 0) << id;
        for (int id : kTessalDependents)
            EXPECT_EQ(IsWindowEnabled(Control(id)) != 0, record[2] != 0) << id;
    }

    // Exactly the eleven values, typed and sized for the game patch, in the 32-bit view where
    // the 32-bit game patch looks; a 64-bit program finds them under WOW6432Node.
    static void ExpectStored(int language, const Record& record) {
        Values expected{{"Language", kStoredLanguage[language]}};
        for (int i = 0; i < 10; ++i) expected[kFields[i].name] = {REG_DWORD, Dword(record[i])};
        EXPECT_EQ(ReadKey(), expected);
        EXPECT_EQ(ReadKey("Software\\WOW6432Node\\Kavrenta\\Torvan", KEY_WOW64_64KEY), expected);
    }

    void ExpectLocaleFont() const {
        HDC screen = GetDC(nullptr);
        const int height = -MulDiv(locale_.points, GetDeviceCaps(screen, LOGPIXELSY), 72);
        ReleaseDC(nullptr, screen);
        for (HWND window : {dialog_, Control(IDC_WINDOWED)}) {
            const ProbeReport report = Probe(window);
            ASSERT_TRUE(report.hasFont);
            EXPECT_STREQ(report.font.lfFaceName, locale_.face);
            EXPECT_EQ(report.font.lfHeight, height);
        }
    }

    // Checks the message box the click opens, then presses its only button, OK.
    void ExpectBox(int click, const std::string& caption, const std::string& text,
                   bool icon) const {
        Post(Control(click), BM_CLICK);  // a sent click would block while the box is open
        const HWND box = app_->WaitForWindow(dialog_);
        EXPECT_EQ(Text(box), caption);
        EXPECT_EQ(Text(Item(box, 0xFFFF)), text);
        EXPECT_FALSE(IsWindowEnabled(dialog_)) << "the box must be modal";
        int buttons = 0;
        bool iconShown = false;
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            char name[16] = {};
            GetClassNameA(c, name, sizeof name);
            if (!IsWindowVisible(c)) continue;
            if (lstrcmpiA(name, "Button") == 0) buttons += GetDlgCtrlID(c) == IDOK ? 1 : 100;
            if (lstrcmpiA(name, "Static") == 0 &&
                (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                iconShown |= Probe(c).staticIcon != 0;
        }
        EXPECT_EQ(buttons, 1);
        EXPECT_EQ(iconShown, icon);
        Click(Item(box, IDOK));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(dialog_); }));
    }
    void ExpectAbout(int language) const {
        ExpectBox(IDC_ABOUT, Encode(kAboutCaption, language), Encode(kAboutText, language), false);
    }

    void Close() const {
        Post(dialog_, WM_SYSCOMMAND, SC_CLOSE);
        EXPECT_EQ(app_->WaitForExit(), 0u);
    }

    Locale locale_{};
    std::optional<App> app_;
    HWND dialog_ = nullptr;
};

TEST_F(E2e, FirstStartShowsStartValuesInSimplifiedChineseAndSaveWritesThem) {
    Start();
    ExpectTexts(kSimplified);  // no key: whatever the locale; the font follows the locale
    ExpectShows(kStart);
    ExpectLocaleFont();
    const ProbeReport icons = Probe(dialog_);
    EXPECT_TRUE(icons.bigIcon && icons.smallIcon);
    const wchar_t* entries[] = {L"GB2312(简体中文)", L"BIG5(繁體中文)", L"OTHER(English)"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ComboEntry(Control(IDC_LANGUAGE), i), Encode(entries[i], kSetCodePage[i]));
    EXPECT_EQ(Send(Control(IDC_LANGUAGE), CB_GETCOUNT), 3);

    // What a user would notice of the layout: the left column aligned, nothing overlapping,
    // every control and its text inside the dialog.
    RECT client, first;
    GetClientRect(dialog_, &client);
    GetWindowRect(Control(IDC_WINDOWED), &first);
    std::vector<RECT> placed;
    for (HWND c = GetWindow(dialog_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(c);
        RECT r, overlap;
        GetWindowRect(c, &r);
        EXPECT_TRUE(r.left == first.left || id == IDC_LOAD || id == IDC_ABOUT) << id;
        RECT inner = r;
        InflateRect(&inner, -1, -1);  // dialog units round to pixels: touching may overlap by 1
        for (const RECT& other : placed)
            EXPECT_FALSE(IntersectRect(&overlap, &inner, &other)) << id;
        placed.push_back(r);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right &&
                    r.bottom <= client.bottom)
            << id;
        const bool checkBox = id >= IDC_WINDOWED && id <= IDC_BGM_STEREO;
        EXPECT_LE(Probe(c).textWidth + (checkBox ? 20 : 0), r.right - r.left) << id;
    }
    EXPECT_FALSE(ReadKey()) << "starting must not write";

    ExpectAbout(kSimplified);
    // Enter and Escape, on the first control and in a number field, leave the dialog open. A
    // click queued behind them shows when they have been handled.
    PressKey(dialog_, VK_RETURN);
    PressKey(dialog_, VK_ESCAPE);
    Send(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(IDC_WIDTH)), TRUE);
    PressKey(dialog_, VK_RETURN);
    PressKey(dialog_, VK_ESCAPE);
    Post(Control(IDC_BGM_STEREO), BM_CLICK);
    EXPECT_TRUE(WaitUntil([&] { return Checked(Control(IDC_BGM_STEREO)); }));
    EXPECT_TRUE(app_->Running());
    EXPECT_FALSE(ReadKey());

    Click(Control(IDC_BGM_STEREO));
    Click(Control(IDC_SAVE));
    ExpectStored(kSimplified, kStart);
    EXPECT_FALSE(ReadKey(kSettingsKey, KEY_WOW64_64KEY)) << "nothing in the 64-bit view";
    Type(Control(IDC_WIDTH), "999");
    Close();  // without saving
    ExpectStored(kSimplified, kStart);
}

TEST_F(E2e, EditsAreSavedAsTypedSurviveALanguageSwitchAndLoadDiscardsThem) {
    Start();
    Click(Control(IDC_WINDOWED));
    ExpectShows({1, 0, 1, 1, 0, 44100, 0, 0, 640, 400});
    Click(Control(IDC_BGM_16BIT));
    Click(Control(IDC_BGM_STEREO));
    Click(Control(IDC_BGM_TESSAL));
    for (int id : kTessalDependents) EXPECT_FALSE(IsWindowEnabled(Control(id))) << id;
    Type(Control(IDC_SAMPLE_RATE), "-99999999999");  // eleven characters are read: clamps
    Type(Control(IDC_POS_X), "\t -5");
    Type(Control(IDC_POS_Y), "+99999999999");
    Type(Control(IDC_WIDTH), "12abc");
    Type(Control(IDC_HEIGHT), "abc");
    const Record saved{1, 0, 0, 0, 1, INT_MIN, -5, INT_MAX, 12, 0};
    Click(Control(IDC_SAVE));
    ExpectStored(kSimplified, saved);
    EXPECT_EQ(Text(Control(IDC_WIDTH)), "12abc") << "Save does not repaint";

    // Unsaved edits survive a switch, which repaints every text and number.
    Click(Control(IDC_WINDOWED));
    Click(Control(IDC_BGM_TESSAL));
    Type(Control(IDC_HEIGHT), "777");
    const Record edited{0, 0, 1, 0, 1, INT_MIN, -5, INT_MAX, 12, 777};
    Pick(kEnglish);
    ExpectTexts(kEnglish);
    ExpectShows(edited);
    ExpectAbout(kEnglish);
    Pick(kTraditional);
    ExpectTexts(kTraditional);
    ExpectShows(edited);
    ExpectAbout(kTraditional);
    ExpectLocaleFont();  // the UI language never changes the font
    EXPECT_EQ(Send(Control(IDC_LANGUAGE), CB_GETCOUNT), 3);
    ExpectStored(kSimplified, saved);

    Click(Control(IDC_LOAD));
    ExpectTexts(kSimplified);
    ExpectShows(saved);
    Pick(kTraditional);
    Click(Control(IDC_SAVE));
    ExpectStored(kTraditional, saved);
}

TEST_F(E2e, StoredValuesAreTypeCheckedShownNormalisedAndSavedBackClean) {
    // Mistyped and missized values are left as the record holds them, at first the start values.
    Store("Windowed", REG_DWORD, Dword(1) + Dword(0));
    Store("FullScreen", REG_DWORD, Dword(7));
    Store("BgmTessal", REG_BINARY, Dword(1));
    Store("BgmSampleRate", REG_DWORD, Dword(22050));
    Store("Bgm16Bit", REG_DWORD, Dword(0));
    Store("BgmStereo", REG_DWORD, Dword(-1));
    Store("PositionX", REG_DWORD, Dword(-20));
    Store("PositionY", REG_DWORD, Dword(999), KEY_WOW64_64KEY);  // where the game never looks
    Store("WindowWidth", REG_DWORD, Dword(INT_MAX));
    Store("WindowHeight", REG_DWORD, Dword(1).substr(0, 3));
    Start("/reset --language=BIG5 Windowed=1 \"C:\\no such\\file.ini\"");  // ignored
    ExpectTexts(locale_.language);
    ExpectShows({0, 1, 1, 0, 1, 22050, -20, 0, INT_MAX, 400});

    // A switch takes the dialog into the record; Load then replaces only what is stored usably
    // and drops the language picked but not saved.
    Click(Control(IDC_BGM_TESSAL));
    Type(Control(IDC_HEIGHT), "123");
    Pick((locale_.language + 1) % 3);
    Click(Control(IDC_LOAD));
    const Record loaded{0, 1, 0, 0, 1, 22050, -20, 0, INT_MAX, 123};
    ExpectTexts(locale_.language);
    ExpectShows(loaded);
    Click(Control(IDC_SAVE));
    ExpectStored(locale_.language, loaded);
    Close();
}

TEST_F(E2e, SaveThatCannotCreateTheKeySaysSoInTheCurrentLanguage) {
    // A non-volatile key cannot be created below a volatile one: the closest Wine gets to a
    // user without write access to HKEY_LOCAL_MACHINE.
    OpenKey("Software\\Kavrenta", KEY_ALL_ACCESS, true, REG_OPTION_VOLATILE);
    Start();
    ExpectBox(IDC_SAVE, Encode(kShown[0].text, kSimplified), Encode(kSaveFailed, kSimplified),
              true);
    Pick(kEnglish);
    ExpectBox(IDC_SAVE, Encode(kShown[0].text, kEnglish), Encode(kSaveFailed, kEnglish), true);
    EXPECT_FALSE(ReadKey());
    EXPECT_TRUE(app_->Running());
}

struct StoredLanguage {
    DWORD type;  // REG_NONE: no "Language" value in the key
    std::string_view bytes;
    int language;  // -1: the locale's
};
class StoredLanguageE2e : public E2e, public ::testing::WithParamInterface<StoredLanguage> {};

TEST_P(StoredLanguageE2e, ChoosesTheTextsButNeverTheFont) {
    const StoredLanguage& c = GetParam();
    Store(c.type == REG_NONE ? "Other" : "Language", c.type, c.bytes);
    Start();
    ExpectTexts(c.language < 0 ? locale_.language : c.language);
    ExpectLocaleFont();
}

INSTANTIATE_TEST_SUITE_P(, StoredLanguageE2e,
                         ::testing::Values(StoredLanguage{REG_SZ, {"GB2312", 7}, kSimplified},
                                           StoredLanguage{REG_SZ, {"BIG5", 5}, kTraditional},
                                           StoredLanguage{REG_SZ, {"OTHER", 6}, kEnglish},
                                           StoredLanguage{
                                               REG_SZ, {"big5", 5}, kEnglish},  // case counts
                                           StoredLanguage{REG_SZ, {"X", 2}, kEnglish},
                                           StoredLanguage{REG_SZ, {"", 1}, -1},         // too short
                                           StoredLanguage{REG_SZ, {"GB2312X", 8}, -1},  // too long
                                           StoredLanguage{REG_EXPAND_SZ, {"GB2312", 7}, -1},
                                           StoredLanguage{REG_NONE, {}, -1}));

TEST(Exe, ShowsItsVersionAndAsksForNoElevation) {
    const std::string exe = WinePath(TORVAN_APP_PATH);
    std::string info(GetFileVersionInfoSizeA(exe.c_str(), nullptr), '\0');
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, info.size(), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    char* text = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000006u);
    for (const char* name : {"FileDescription", "ProductName"}) {
        const std::string path = std::string("\\StringFileInfo\\080404b0\\") + name;
        ASSERT_TRUE(
            VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &size));
        EXPECT_STREQ(text, "Patch for TORVAN95 Setting");
    }

    // No execution level, so no elevation prompt; no XML declaration.
    const HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(manifest, nullptr);
    const std::string_view xml(
        static_cast<const char*>(LockResource(LoadResource(module, manifest))),
        SizeofResource(module, manifest));
    EXPECT_TRUE(xml.starts_with("<assembly")) << xml;
    EXPECT_EQ(xml.find("requestedExecutionLevel"), std::string_view::npos);
    FreeLibrary(module);
}

}  // namespace
}  // namespace e2e
