// The settings dialog: its procedure and the two transfer functions between the process-wide
// settings record and the controls.
#ifndef TORVAN_APP_SETTINGSDIALOG_H
#define TORVAN_APP_SETTINGSDIALOG_H

#include <windows.h>

// Process-wide state that lives for the whole run; WinMain sets g_instance, the dialog the rest.
extern HINSTANCE g_instance;        // the program's module; set before the dialog exists
extern HICON g_appIcon;             // loaded at WM_INITDIALOG, never released
extern const char* g_aboutCaption;  // About box of the language last applied
extern const char* g_aboutText;

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Paints every text, enabled state, check mark, number and the language selection from
// g_settings and g_uiLanguage.
void ApplySettingsToDialog(HWND dialog);

// Copies every control into g_settings and the combo box selection (-1 when none) into
// g_uiLanguage.
void ReadSettingsFromDialog(HWND dialog);

#endif
