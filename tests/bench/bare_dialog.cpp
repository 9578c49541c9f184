// The baseline for the start-up benchmark: a program that shows one empty modal dialog from an
// in-memory template and does nothing else.
#include <windows.h>

#include <cstdint>

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
    // A classic template: DLGTEMPLATE header, no menu, default class, a caption; no items.
    alignas(4) static const std::uint16_t kTemplate[] = {
        0x0000, 0x80C8,              // style low/high: WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER
        0x0000, 0x0000,              // exStyle
        0,                           // item count
        0, 0, 218, 255,              // x, y, cx, cy
        0,                           // no menu
        0,                           // default class
        'B', 'a', 'r', 'e', 0,       // caption
    };
    DialogBoxIndirectParamA(instance, reinterpret_cast<LPCDLGTEMPLATEA>(kTemplate), nullptr,
                            BareDialogProc, 0);
    return 0;
}
