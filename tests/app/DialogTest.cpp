// The dialog procedure on the real dialog resource, driven in-process through the dialog manager.
// Runs under three locales: each Chinese set only reads correctly under its own ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <string_view>

#include "ResourceIds.h"
#include "SettingsDialog.h"
#include "Texts.h"
#include "dlgtemplate/DialogTemplate.h"
#include "settings/Settings.h"

namespace {

constexpr int kWindowedDependents[] = {IDC_FULLSCREEN, IDC_POS_X, IDC_POS_Y, IDC_WIDTH, IDC_HEIGHT};
constexpr int kBgmTessalDependents[] = {IDC_BGM_16BIT, IDC_BGM_STEREO, IDC_SAMPLE_RATE};

std::wstring WideText(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

std::string AnsiText(HWND dialog, int id) {
    char buffer[256] = {};
    GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    return buffer;
}

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_instance = GetModuleHandleA(nullptr);
        g_settings = PatchSettings{};
        g_uiLanguage = 0;
        dialogTemplate_ = DialogTemplate::LoadFromResource(g_instance, IDD_SETTINGS);
        ASSERT_NE(dialogTemplate_, nullptr);
        dialog_ = CreateDialogIndirectParamA(g_instance,
                                             static_cast<LPCDLGTEMPLATEA>(dialogTemplate_->Build()),
                                             nullptr, SettingsDialogProc, 0);
        ASSERT_NE(dialog_, nullptr) << GetLastError();
    }
    void TearDown() override {
        if (dialog_) DestroyWindow(dialog_);
        if (dialogTemplate_) dialogTemplate_->FreeBuilt();
    }

    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    void SelectLanguageInCombo(int index) {
        SendDlgItemMessageA(dialog_, IDC_LANGUAGE, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        // The notification a user's choice sends; CB_SETCURSEL itself sends none.
        SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Item(IDC_LANGUAGE)));
    }

    std::unique_ptr<DialogTemplate> dialogTemplate_;
    HWND dialog_ = nullptr;
};

TEST_F(DialogTest, InitialisationSetsIconsAndFillsTheComboOnce) {
    ASSERT_NE(g_appIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dialog_, WM_GETICON, ICON_BIG, 0)), g_appIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dialog_, WM_GETICON, ICON_SMALL, 0)), g_appIcon);
    EXPECT_EQ(SendDlgItemMessageA(dialog_, IDC_LANGUAGE, CB_GETCOUNT, 0, 0), 3);
    char entry[64] = {};
    SendDlgItemMessageA(dialog_, IDC_LANGUAGE, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, "OTHER(English)");
    // Repainting (language switch) must not add the entries again.
    SelectLanguageInCombo(2);
    EXPECT_EQ(SendDlgItemMessageA(dialog_, IDC_LANGUAGE, CB_GETCOUNT, 0, 0), 3);
    // Start values: language 0 selected, About texts of the Simplified Chinese set.
    g_uiLanguage = 0;
    ApplySettingsToDialog(dialog_);
    EXPECT_EQ(SendDlgItemMessageA(dialog_, IDC_LANGUAGE, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(g_aboutCaption, TextsGb2312.AboutCaption);
    EXPECT_EQ(g_aboutText, TextsGb2312.AboutText);
}

// Under each code page the set written for it must show the intended characters.
TEST_F(DialogTest, TextsOfTheCodePagesOwnLanguageReadCorrectly) {
    struct Shown {
        const wchar_t* title;
        const wchar_t* save;
        const wchar_t* windowed;
        const wchar_t* bgm16Bit;
        const wchar_t* height;
        const wchar_t* languageLabel;
        int legibleComboEntry;
        const wchar_t* comboEntry;
    };
    Shown expected{};
    const UINT codePage = GetACP();
    // Guard against a locale that silently did not take: the test would then only check English.
    char locale[32] = {};
    GetEnvironmentVariableA("LC_ALL", locale, sizeof locale);
    if (std::string_view(locale).starts_with("zh_CN")) {
        EXPECT_EQ(codePage, 936u);
    } else if (std::string_view(locale).starts_with("zh_TW")) {
        EXPECT_EQ(codePage, 950u);
    }
    if (codePage == 936) {
        g_uiLanguage = 0;
        expected = {L"TORVAN95 完美补丁设置程序",
                    L"保存(&S)",
                    L"开启窗口化功能",
                    L"TESSAL格式背景音乐采用16位输出",
                    L"游戏窗口的初始高度",
                    L"语言/",
                    0,
                    L"GB2312(简体中文)"};
    } else if (codePage == 950) {
        g_uiLanguage = 1;
        expected = {L"TORVAN95 完美補丁設置程式",
                    L"保存(&S)",
                    L"開啟視窗化功能",
                    L"TESSAL格式背景音樂採用16位元輸出",
                    L"遊戲窗口的初始高度",
                    L"語言/",
                    1,
                    L"BIG5(繁體中文)"};
    } else {
        g_uiLanguage = 2;
        expected = {L"Patch for TORVAN95 Setting",
                    L"&Save",
                    L"Enable Windowed functions",
                    L"Use 16-bit output of TESSAL format background music",
                    L"Initial height of game window",
                    L"Language/",
                    2,
                    L"OTHER(English)"};
    }
    ApplySettingsToDialog(dialog_);
    EXPECT_EQ(WideText(dialog_), expected.title);
    EXPECT_EQ(WideText(Item(IDC_SAVE)), expected.save);
    EXPECT_EQ(WideText(Item(IDC_WINDOWED)), expected.windowed);
    EXPECT_EQ(WideText(Item(IDC_BGM_16BIT)), expected.bgm16Bit);
    EXPECT_EQ(WideText(Item(IDC_HEIGHT_LABEL)), expected.height);
    EXPECT_TRUE(WideText(Item(IDC_LANGUAGE_LABEL)).starts_with(expected.languageLabel)) << codePage;
    wchar_t entry[64] = {};
    SendDlgItemMessageW(dialog_, IDC_LANGUAGE, CB_GETLBTEXT, expected.legibleComboEntry,
                        reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, expected.comboEntry);
}

TEST_F(DialogTest, ApplyPaintsChecksEnablesAndNumbers) {
    g_settings.Windowed = 0;
    g_settings.FullScreen = 1;
    g_settings.BgmTessal = 1;
    g_settings.Bgm16Bit = 0;
    g_settings.BgmStereo = 1;
    g_settings.BgmSampleRate = 22050;
    g_settings.PositionX = -20;
    g_settings.PositionY = INT_MIN;
    g_settings.WindowWidth = INT_MAX;
    g_settings.WindowHeight = 480;
    g_uiLanguage = 2;
    ApplySettingsToDialog(dialog_);

    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_WINDOWED), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_FULLSCREEN), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_BGM_TESSAL), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_BGM_16BIT), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_BGM_STEREO), BST_CHECKED);
    // Disabled but filled in.
    for (int id : kWindowedDependents) EXPECT_FALSE(IsWindowEnabled(Item(id))) << id;
    for (int id : kBgmTessalDependents) EXPECT_TRUE(IsWindowEnabled(Item(id))) << id;
    EXPECT_EQ(AnsiText(dialog_, IDC_SAMPLE_RATE), "22050");
    EXPECT_EQ(AnsiText(dialog_, IDC_POS_X), "-20");
    EXPECT_EQ(AnsiText(dialog_, IDC_POS_Y), "-2147483648");
    EXPECT_EQ(AnsiText(dialog_, IDC_WIDTH), "2147483647");
    EXPECT_EQ(AnsiText(dialog_, IDC_HEIGHT), "480");
    EXPECT_EQ(SendDlgItemMessageA(dialog_, IDC_LANGUAGE, CB_GETCURSEL, 0, 0), 2);

    g_settings.Windowed = 1;
    g_settings.BgmTessal = 0;
    ApplySettingsToDialog(dialog_);
    for (int id : kWindowedDependents) EXPECT_TRUE(IsWindowEnabled(Item(id))) << id;
    for (int id : kBgmTessalDependents) EXPECT_FALSE(IsWindowEnabled(Item(id))) << id;
}

TEST_F(DialogTest, GoverningCheckBoxesEnableTheirDependents) {
    g_settings.Windowed = 0;
    g_settings.BgmTessal = 1;
    ApplySettingsToDialog(dialog_);
    // A real click: the auto check box toggles and notifies the dialog.
    SendDlgItemMessageA(dialog_, IDC_WINDOWED, BM_CLICK, 0, 0);
    ASSERT_EQ(IsDlgButtonChecked(dialog_, IDC_WINDOWED), BST_CHECKED);
    for (int id : kWindowedDependents) EXPECT_TRUE(IsWindowEnabled(Item(id))) << id;
    SendDlgItemMessageA(dialog_, IDC_BGM_TESSAL, BM_CLICK, 0, 0);
    ASSERT_EQ(IsDlgButtonChecked(dialog_, IDC_BGM_TESSAL), BST_UNCHECKED);
    for (int id : kBgmTessalDependents) EXPECT_FALSE(IsWindowEnabled(Item(id))) << id;
    SendDlgItemMessageA(dialog_, IDC_WINDOWED, BM_CLICK, 0, 0);
    for (int id : kWindowedDependents) EXPECT_FALSE(IsWindowEnabled(Item(id))) << id;
    // The record is untouched until a read.
    EXPECT_EQ(g_settings.Windowed, 0);
    EXPECT_EQ(g_settings.BgmTessal, 1);
}

TEST_F(DialogTest, ReadConvertsTypedNumbersAndTakesTheRawSelection) {
    SetDlgItemTextA(dialog_, IDC_WIDTH, "12abc");
    SetDlgItemTextA(dialog_, IDC_HEIGHT, "abc");
    SetDlgItemTextA(dialog_, IDC_POS_X, "  -5");
    SetDlgItemTextA(dialog_, IDC_POS_Y, "99999999999");
    SetDlgItemTextA(dialog_, IDC_SAMPLE_RATE, "-2147483648");
    CheckDlgButton(dialog_, IDC_WINDOWED, BST_CHECKED);
    CheckDlgButton(dialog_, IDC_FULLSCREEN, BST_CHECKED);
    CheckDlgButton(dialog_, IDC_BGM_TESSAL, BST_UNCHECKED);
    CheckDlgButton(dialog_, IDC_BGM_16BIT, BST_UNCHECKED);
    CheckDlgButton(dialog_, IDC_BGM_STEREO, BST_CHECKED);
    SendDlgItemMessageA(dialog_, IDC_LANGUAGE, CB_SETCURSEL, 1, 0);
    ReadSettingsFromDialog(dialog_);

    EXPECT_EQ(g_settings.WindowWidth, 12);
    EXPECT_EQ(g_settings.WindowHeight, 0);
    EXPECT_EQ(g_settings.PositionX, -5);
    EXPECT_EQ(g_settings.PositionY, INT_MAX);
    // All eleven characters are read, so the smallest value survives a round trip.
    EXPECT_EQ(g_settings.BgmSampleRate, INT_MIN);
    EXPECT_EQ(g_settings.Windowed, 1);
    EXPECT_EQ(g_settings.FullScreen, 1);
    EXPECT_EQ(g_settings.BgmTessal, 0);
    EXPECT_EQ(g_settings.Bgm16Bit, 0);
    EXPECT_EQ(g_settings.BgmStereo, 1);
    EXPECT_EQ(g_uiLanguage, 1);

    // Text beyond eleven characters is cut off before conversion.
    SetDlgItemTextA(dialog_, IDC_WIDTH, "00000000000123");
    SendDlgItemMessageA(dialog_, IDC_LANGUAGE, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ReadSettingsFromDialog(dialog_);
    EXPECT_EQ(g_settings.WindowWidth, 0);
    EXPECT_EQ(g_uiLanguage, -1);
}

TEST_F(DialogTest, NoLanguageSelectionShowsEnglishWithAnEmptyCombo) {
    g_uiLanguage = -1;
    ApplySettingsToDialog(dialog_);
    EXPECT_EQ(SendDlgItemMessageA(dialog_, IDC_LANGUAGE, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(AnsiText(dialog_, IDC_ABOUT), "&About");
    char title[64] = {};
    GetWindowTextA(dialog_, title, sizeof title);
    EXPECT_STREQ(title, "Patch for TORVAN95 Setting");
    EXPECT_EQ(g_aboutText, TextsOther.AboutText);
}

TEST_F(DialogTest, LanguageSwitchKeepsUnsavedEdits) {
    g_uiLanguage = 0;
    ApplySettingsToDialog(dialog_);
    SetDlgItemTextA(dialog_, IDC_WIDTH, "12abc");
    SendDlgItemMessageA(dialog_, IDC_BGM_STEREO, BM_CLICK, 0, 0);
    SelectLanguageInCombo(2);

    EXPECT_EQ(g_uiLanguage, 2);
    EXPECT_EQ(g_settings.WindowWidth, 12);
    EXPECT_EQ(g_settings.BgmStereo, 1);
    // Repainted from the record: the typed text now shows as the number it was read as.
    EXPECT_EQ(AnsiText(dialog_, IDC_WIDTH), "12");
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_BGM_STEREO), BST_CHECKED);
    EXPECT_EQ(AnsiText(dialog_, IDC_SAVE), "&Save");
    EXPECT_EQ(g_aboutCaption, TextsOther.AboutCaption);
    EXPECT_EQ(g_aboutText, TextsOther.AboutText);
}

TEST_F(DialogTest, EnterAndEscapeDoNotCloseTheDialog) {
    EXPECT_EQ(SettingsDialogProc(dialog_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0), FALSE);
    EXPECT_EQ(SettingsDialogProc(dialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0), FALSE);
    // Through the dialog manager's keyboard handling as well.
    SetFocus(Item(IDC_WIDTH));
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        MSG message{dialog_, WM_KEYDOWN, key, 0, 0, {}};
        message.hwnd = Item(IDC_WIDTH);
        IsDialogMessageA(dialog_, &message);
    }
    EXPECT_TRUE(IsWindow(dialog_));
}

}  // namespace
