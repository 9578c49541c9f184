// Window hook that Wine loads into the program's process: answers the test's probe message with
// the window's font, text width and icons.
#include "E2eProbe.h"

namespace {

void Answer(HWND window) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, e2e::kProbeMapping);
    if (!mapping) return;
    if (auto* report = static_cast<e2e::ProbeReport*>(
            MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(e2e::ProbeReport)))) {
        const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
        report->hasFont = font && GetObjectW(font, sizeof report->font, &report->font);
        wchar_t text[512];
        const int length = GetWindowTextW(window, text, 512);
        HDC dc = GetDC(window);
        const HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32W(dc, text, length, &size);
        SelectObject(dc, old);
        ReleaseDC(window, dc);
        report->textWidth = size.cx;
        report->bigIcon = SendMessageW(window, WM_GETICON, ICON_BIG, 0) != 0;
        report->smallIcon = SendMessageW(window, WM_GETICON, ICON_SMALL, 0) != 0;
        report->staticIcon = SendMessageW(window, STM_GETICON, 0, 0) != 0;
        report->answered = 1;
        UnmapViewOfFile(report);
    }
    CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == RegisterWindowMessageA(e2e::kProbeMessage))
        Answer(call->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
