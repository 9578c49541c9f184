// The dialog procedure on the real dialog resource, in-process, for what the end-to-end tests
// cannot see from outside: the characters the texts become under each ANSI code page, the raw
// combo selection, and a record language that no combo entry stands for. Runs under three locales:
// each Chinese set only reads correctly under its own code page.
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

    std::unique_ptr<DialogTemplate> dialogTemplate_;
    HWND dialog_ = nullptr;
};

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

}  // namespace
