#include "SettingsDialog.h"

#include <cstdint>
#include <span>

#include "NumberText.h"
#include "ResourceIds.h"
#include "Texts.h"
#include "settings/Settings.h"

HINSTANCE g_instance = nullptr;
HICON g_appIcon = nullptr;
const char* g_aboutCaption = nullptr;
const char* g_aboutText = nullptr;

namespace {

// Controls that only mean something when their governing check box is ticked.
constexpr int kWindowedDependents[] = {IDC_FULLSCREEN, IDC_POS_X, IDC_POS_Y, IDC_WIDTH, IDC_HEIGHT};
constexpr int kBgmTessalDependents[] = {IDC_BGM_16BIT, IDC_BGM_STEREO, IDC_SAMPLE_RATE};

// The check boxes 1002..1006 in record order.
struct FlagControl {
    int id;
    std::int32_t PatchSettings::*field;
};
constexpr FlagControl kFlagControls[] = {
    {IDC_WINDOWED, &PatchSettings::Windowed},    {IDC_FULLSCREEN, &PatchSettings::FullScreen},
    {IDC_BGM_TESSAL, &PatchSettings::BgmTessal}, {IDC_BGM_16BIT, &PatchSettings::Bgm16Bit},
    {IDC_BGM_STEREO, &PatchSettings::BgmStereo},
};

// Room for "-2147483648" and its terminator.
constexpr int kNumberBufferSize = 12;
constexpr int kNumberFields[] = {IDC_SAMPLE_RATE, IDC_POS_X, IDC_POS_Y, IDC_WIDTH, IDC_HEIGHT};

void EnableControls(HWND dialog, std::span<const int> ids, bool enable) {
    for (int id : ids) EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

bool IsChecked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetNumber(HWND dialog, int id, std::int32_t value) {
    char buffer[kNumberBufferSize];
    wsprintfA(buffer, "%d", static_cast<int>(value));
    SetDlgItemTextA(dialog, id, buffer);
}

std::int32_t GetNumber(HWND dialog, int id) {
    // Zeroed so the text stays terminated even if the control returned nothing. The limit of 12
    // takes up to 11 characters, so a shown -2147483648 reads back whole.
    char buffer[kNumberBufferSize] = {};
    SendDlgItemMessageA(dialog, id, WM_GETTEXT, kNumberBufferSize,
                        reinterpret_cast<LPARAM>(buffer));
    return ParseDecimalInt32(buffer);
}

void ShowAbout(HWND dialog) { MessageBoxA(dialog, g_aboutText, g_aboutCaption, MB_OK); }

void Save(HWND dialog) {
    ReadSettingsFromDialog(dialog);
    if (!SaveSettings()) {
        // Without this the user would believe the settings were stored (for instance when the
        // program lacks write access to HKEY_LOCAL_MACHINE).
        const LanguageTexts& texts = TextsForLanguage(g_uiLanguage);
        MessageBoxA(dialog, texts.SaveFailedText, texts.Title, MB_OK | MB_ICONERROR);
    }
}

INT_PTR OnInitDialog(HWND dialog) {
    g_appIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_APP));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_appIcon));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_appIcon));
    // Added once, whatever the language, in index order: the combo box does not sort, so an
    // entry's index is the language it selects.
    for (const char* entry : LanguageComboEntries) {
        SendDlgItemMessageA(dialog, IDC_LANGUAGE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
    // As many characters as GetNumber reads, so a field never shows more than is saved.
    for (int id : kNumberFields)
        SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, kNumberBufferSize - 1, 0);
    ApplySettingsToDialog(dialog);
    return TRUE;  // the dialog manager sets the initial focus
}

INT_PTR OnCommand(HWND dialog, int id, int code) {
    if (code == BN_CLICKED) {
        switch (id) {
            case IDC_WINDOWED:
                EnableControls(dialog, kWindowedDependents, IsChecked(dialog, IDC_WINDOWED));
                return FALSE;
            case IDC_BGM_TESSAL:
                EnableControls(dialog, kBgmTessalDependents, IsChecked(dialog, IDC_BGM_TESSAL));
                return FALSE;
            case IDC_SAVE:
                Save(dialog);
                return TRUE;
            case IDC_LOAD:
                // Discards unsaved edits on purpose: Load shows what the registry holds.
                LoadSettings();
                ApplySettingsToDialog(dialog);
                return TRUE;
            case IDC_ABOUT:
                ShowAbout(dialog);
                return TRUE;
            default:
                // IDOK and IDCANCEL too: Enter and Escape must not close the dialog.
                return FALSE;
        }
    }
    if (code == CBN_SELCHANGE && id == IDC_LANGUAGE) {
        // Read first so unsaved edits survive the repaint in the new language.
        ReadSettingsFromDialog(dialog);
        ApplySettingsToDialog(dialog);
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog);
        case WM_CLOSE:
            // Closing the window (its button, system menu, Alt+F4) is the only way out.
            EndDialog(dialog, 1);
            return FALSE;
        case WM_COMMAND:
            return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        default:
            return FALSE;
    }
}

void ApplySettingsToDialog(HWND dialog) {
    const LanguageTexts& texts = TextsForLanguage(g_uiLanguage);
    g_aboutCaption = texts.AboutCaption;
    g_aboutText = texts.AboutText;

    SetWindowTextA(dialog, texts.Title);
    const struct {
        int id;
        const char* text;
    } labels[] = {
        {IDC_SAVE, texts.SaveCaption},
        {IDC_LOAD, texts.LoadCaption},
        {IDC_ABOUT, texts.AboutButtonCaption},
        {IDC_WINDOWED, texts.WindowedLabel},
        {IDC_FULLSCREEN, texts.FullScreenLabel},
        {IDC_BGM_TESSAL, texts.BgmTessalLabel},
        {IDC_BGM_16BIT, texts.Bgm16BitLabel},
        {IDC_BGM_STEREO, texts.BgmStereoLabel},
        {IDC_LANGUAGE_LABEL, texts.LanguageLabel},
        {IDC_SAMPLE_RATE_LABEL, texts.SampleRateLabel},
        {IDC_POS_X_LABEL, texts.PosXLabel},
        {IDC_POS_Y_LABEL, texts.PosYLabel},
        {IDC_WIDTH_LABEL, texts.WidthLabel},
        {IDC_HEIGHT_LABEL, texts.HeightLabel},
    };
    for (const auto& label : labels) SetDlgItemTextA(dialog, label.id, label.text);

    EnableControls(dialog, kWindowedDependents, g_settings.Windowed != 0);
    EnableControls(dialog, kBgmTessalDependents, g_settings.BgmTessal != 0);

    for (const FlagControl& flag : kFlagControls) {
        CheckDlgButton(dialog, flag.id, g_settings.*flag.field != 0 ? BST_CHECKED : BST_UNCHECKED);
    }

    SetNumber(dialog, IDC_SAMPLE_RATE, g_settings.BgmSampleRate);
    SetNumber(dialog, IDC_POS_X, g_settings.PositionX);
    SetNumber(dialog, IDC_POS_Y, g_settings.PositionY);
    SetNumber(dialog, IDC_WIDTH, g_settings.WindowWidth);
    SetNumber(dialog, IDC_HEIGHT, g_settings.WindowHeight);

    // -1 (or any index past the list) leaves the combo box without a selection.
    SendDlgItemMessageA(dialog, IDC_LANGUAGE, CB_SETCURSEL, static_cast<WPARAM>(g_uiLanguage), 0);
}

void ReadSettingsFromDialog(HWND dialog) {
    for (const FlagControl& flag : kFlagControls) {
        g_settings.*flag.field = IsChecked(dialog, flag.id) ? 1 : 0;
    }
    g_uiLanguage =
        static_cast<UiLanguage>(SendDlgItemMessageA(dialog, IDC_LANGUAGE, CB_GETCURSEL, 0, 0));
    // Disabled fields are read like enabled ones; no value is range-checked.
    g_settings.BgmSampleRate = GetNumber(dialog, IDC_SAMPLE_RATE);
    g_settings.PositionX = GetNumber(dialog, IDC_POS_X);
    g_settings.PositionY = GetNumber(dialog, IDC_POS_Y);
    g_settings.WindowHeight = GetNumber(dialog, IDC_HEIGHT);
    g_settings.WindowWidth = GetNumber(dialog, IDC_WIDTH);
}
