// Window hook that Wine loads into the program's process to answer Probe() (AppDriver.h) there.
#include "AppDriver.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    HANDLE mapping = nullptr;
    if (code == HC_ACTION && call->message == RegisterWindowMessageA(e2e::kProbeMessage) &&
        (mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, e2e::kProbeMapping))) {
        auto* report =
            static_cast<e2e::ProbeReport*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
        const auto font = reinterpret_cast<HFONT>(SendMessageW(call->hwnd, WM_GETFONT, 0, 0));
        wchar_t text[256];
        SIZE size{};
        HDC dc = GetDC(call->hwnd);
        SelectObject(dc, font);
        GetTextExtentPoint32W(dc, text, GetWindowTextW(call->hwnd, text, 256), &size);
        ReleaseDC(call->hwnd, dc);
        report->textWidth = size.cx;
        report->icons = SendMessageW(call->hwnd, WM_GETICON, ICON_BIG, 0) &&
                        SendMessageW(call->hwnd, WM_GETICON, ICON_SMALL, 0);
        GetObjectW(font, sizeof report->font, &report->font);
        UnmapViewOfFile(report);
        CloseHandle(mapping);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
