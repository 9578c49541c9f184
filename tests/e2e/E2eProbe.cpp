// Window hook that Wine loads into the program's process: answers the test's probe message with
// the window's font, the width of its text in that font, and its icons.
#include "E2eProbe.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, e2e::kProbeMapping);
    if (code == HC_ACTION && call->message == RegisterWindowMessageA(e2e::kProbeMessage) &&
        mapping) {
        auto* report =
            static_cast<e2e::ProbeReport*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
        const auto font = reinterpret_cast<HFONT>(SendMessageW(call->hwnd, WM_GETFONT, 0, 0));
        wchar_t text[512];
        const int length = GetWindowTextW(call->hwnd, text, 512);
        HDC dc = GetDC(call->hwnd);
        SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32W(dc, text, length, &size);
        ReleaseDC(call->hwnd, dc);
        report->textWidth = size.cx;
        report->icons = SendMessageW(call->hwnd, WM_GETICON, ICON_BIG, 0) &&
                        SendMessageW(call->hwnd, WM_GETICON, ICON_SMALL, 0);
        report->answered = font && GetObjectW(font, sizeof report->font, &report->font);
        UnmapViewOfFile(report);
    }
    if (mapping) CloseHandle(mapping);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
