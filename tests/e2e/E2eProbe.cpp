// Window hook that Wine loads into the program's process to answer Probe() (AppDriver.h); its
// first answer also puts it between the program and the registry, in the import address table.
#include <tuple>

#include "AppDriver.h"

#include <dbghelp.h>

namespace {

using namespace e2e;
enum RegFunction { kOpen, kCreate, kQuery, kSet, kClose };
ProbeRecord* g_record;  // mapped for the rest of the program's life
void* g_real[5];        // the hooked functions, by RegFunction

// Stands in for registry function F: writes the call down as a word, failed if the test named it.
template <RegFunction F, class... Args>
LONG WINAPI Hook(Args... args) {
    const std::tuple arguments(args...);
    const auto call = reinterpret_cast<LONG(WINAPI*)(Args...)>(g_real[F]);
    char word[64] = "close";
    if constexpr (F == kOpen) wsprintfA(word, "open:%lu", std::get<3>(arguments));
    if constexpr (F == kCreate) wsprintfA(word, "create:%lu", std::get<5>(arguments));
    if constexpr (F == kSet) wsprintfA(word, "write:%s", std::get<1>(arguments));
    if constexpr (F == kQuery)  // data or not
        wsprintfA(word, std::get<4>(arguments) ? "read:%s" : "size:%s", std::get<1>(arguments));
    const bool fails = lstrcmpA(word, g_record->fail) == 0;
    const LONG result = fails ? ERROR_ACCESS_DENIED : call(args...);
    char* const end = g_record->calls + lstrlenA(g_record->calls);
    if (end + 80 < std::end(g_record->calls))
        wsprintfA(end, result == ERROR_SUCCESS ? "%s " : "%s! ", word);
    return result;
}

// Points the import entries holding `real` (what the loader gave this DLL too) at its hook.
template <RegFunction F, class... Args>
void Patch(void** entries, ULONG size, LONG(WINAPI* real)(Args...)) {
    g_real[F] = reinterpret_cast<void*>(real);
    for (ULONG i = 0; i < size / sizeof *entries; ++i)
        if (entries[i] == g_real[F]) entries[i] = reinterpret_cast<void*>(Hook<F, Args...>);
}

// Import entries lead here (a reference keeps this DLL loaded); linked read-only, so unprotected.
bool Attach() {
    const Handle mapping(OpenFileMappingA(FILE_MAP_WRITE, FALSE, kProbeMapping));
    g_record = static_cast<ProbeRecord*>(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0));
    DWORD size = 0, was = 0;
    const auto iat = static_cast<void**>(ImageDirectoryEntryToData(
        GetModuleHandleA(nullptr), TRUE, IMAGE_DIRECTORY_ENTRY_IAT, &size));
    if (!g_record || !LoadLibraryA(TORVAN_PROBE_PATH) ||
        !VirtualProtect(iat, size, PAGE_READWRITE, &was))
        return false;
    Patch<kOpen>(iat, size, RegOpenKeyExA);
    Patch<kCreate>(iat, size, RegCreateKeyExA);
    Patch<kQuery>(iat, size, RegQueryValueExA);
    Patch<kSet>(iat, size, RegSetValueExA);
    Patch<kClose>(iat, size, RegCloseKey);
    return VirtualProtect(iat, size, was, &was);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == RegisterWindowMessageA(kProbeMessage) &&
        (g_record || Attach())) {
        const auto font = reinterpret_cast<HFONT>(SendMessageW(call->hwnd, WM_GETFONT, 0, 0));
        wchar_t text[256];
        SIZE size{};
        const HDC dc = GetDC(call->hwnd);
        const HGDIOBJ previous = SelectObject(dc, font);
        GetTextExtentPoint32W(dc, text, GetWindowTextW(call->hwnd, text, 256), &size);
        SelectObject(dc, previous);  // the DC goes back as it came
        ReleaseDC(call->hwnd, dc);
        g_record->textWidth = size.cx;
        g_record->icons = SendMessageW(call->hwnd, WM_GETICON, ICON_BIG, 0) &&
                          SendMessageW(call->hwnd, WM_GETICON, ICON_SMALL, 0);
        GetObjectW(font, sizeof g_record->font, &g_record->font);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
