// Hook procedure that Wine loads into the program's process: it answers the test's probe message
// with what only that process can read (the window's font and icons).
#include <windows.h>

#include "E2eProbe.h"

namespace {

void Answer(HWND window) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, e2e::kProbeMappingName);
    if (!mapping) return;
    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(e2e::ProbeReport));
    if (view) {
        e2e::ProbeReport report{};
        const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
        report.hasFont =
            font && GetObjectW(font, sizeof report.font, &report.font) == sizeof report.font;
        report.hasStaticIcon = SendMessageW(window, STM_GETICON, 0, 0) != 0;
        report.hasBigIcon = SendMessageW(window, WM_GETICON, ICON_BIG, 0) != 0;
        report.hasSmallIcon = SendMessageW(window, WM_GETICON, ICON_SMALL, 0) != 0;
        report.answered = 1;
        CopyMemory(view, &report, sizeof report);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    E2eProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == RegisterWindowMessageA(e2e::kProbeMessageName)) Answer(call->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
