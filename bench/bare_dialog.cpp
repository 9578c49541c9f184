// Baselines for the start-up benchmark: a program that shows one modal dialog and does nothing
// else. Built twice: from an empty in-memory template (no controls), and, with
// BARE_FROM_RESOURCE, from the program's own dialog resource (the same twenty controls).
#include <windows.h>

#include <cstdint>

#include "ResourceIds.h"

namespace {

INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
#ifdef BARE_FROM_RESOURCE
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETTINGS), nullptr, BareDialogProc, 0);
#else
    // A classic template: DLGTEMPLATE header, no menu, default class, a caption; no items.
    alignas(4) static const std::uint16_t kTemplate[] = {
        0x0000, 0x80C8,            // style low/high: WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER
        0x0000, 0x0000,            // exStyle
        0,                         // item count
        0,      0,      218, 255,  // x, y, cx, cy
        0,                         // no menu
        0,                         // default class
        'B',    'a',    'r', 'e', 0,  // caption
    };
    DialogBoxIndirectParamA(instance, reinterpret_cast<LPCDLGTEMPLATEA>(kTemplate), nullptr,
                            BareDialogProc, 0);
#endif
    return 0;
}
