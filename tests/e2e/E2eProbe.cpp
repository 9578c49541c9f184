// Window hook that Wine loads into the program's process to answer Probe() (AppDriver.h); its
// first answer also puts it between the program and the registry, in the import address table.
#include <array>
#include <tuple>

#include "AppDriver.h"

#include <dbghelp.h>

namespace {

using namespace e2e;
enum RegFunction { kOpen, kCreate, kQuery, kSet, kClose };
ProbeRecord* g_record;  // mapped for the rest of the program's life
void* g_real[5];        // the hooked functions, by RegFunction

// RegQueryValueExA with the string's NUL left out, which Wine's ANSI query always adds.
LONG WINAPI Bare(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    BYTE text[256];
    DWORD n = sizeof text;
    const LONG result = reinterpret_cast<decltype(&RegQueryValueExA)>(g_real[kQuery])(
        key, name, reserved, type, text, &n);
    n -= result == ERROR_SUCCESS && n && !text[n - 1];
    if (result != ERROR_SUCCESS || (data && n > *size)) return result ? result : ERROR_MORE_DATA;
    if (data) CopyMemory(data, text, n);
    return *size = n, result;
}

// Stands in for the registry function F; the places of the arguments are those of its signature.
template <RegFunction F, class... Args>
LONG WINAPI Hook(Args... args) {
    const std::tuple a(args...);
    const void* data = nullptr;  // the buffer of a query or a write
    if constexpr (F == kQuery || F == kSet) data = std::get<4>(a);
    // The access asked, or the value named.
    const char* formats[] = {"open:%lu", "create:%lu", data ? "read:%s" : "size:%s", "write:%s"};
    char word[32] = "close";
    if constexpr (F != kClose) wsprintfA(word, formats[F], std::get<std::array{3, 5, 1, 1}[F]>(a));
    char bare[32];  // "bare:" and a value: its queries go to Bare
    wsprintfA(bare, "bare:%s", word + 5);
    void* const bareQuery = reinterpret_cast<void*>(Bare);
    void* const call = F == kQuery && !lstrcmpA(bare, g_record->fail) ? bareQuery : g_real[F];
    const LONG result = !lstrcmpA(word, g_record->fail)
                            ? ERROR_ACCESS_DENIED
                            : reinterpret_cast<LONG(WINAPI*)(Args...)>(call)(args...);
    char* const end = g_record->calls + lstrlenA(g_record->calls);
    if (end + 64 < std::end(g_record->calls)) wsprintfA(end, "%s%s ", word, result ? "!" : "");
    return result;
}

// Points the import entries holding `real` (what the loader gave this DLL too) at its hook.
template <RegFunction F, class... Args>
void Patch(void** entries, ULONG size, LONG(WINAPI* real)(Args...)) {
    g_real[F] = reinterpret_cast<void*>(real);
    for (ULONG i = 0; i < size / sizeof *entries; ++i)
        if (entries[i] == g_real[F]) entries[i] = reinterpret_cast<void*>(Hook<F, Args...>);
}

// The import entries will lead here: a reference of its own keeps this DLL loaded. MinGW's linker
// puts the table in a writable section.
bool Attach() {
    const Handle mapping(OpenFileMappingA(FILE_MAP_WRITE, FALSE, kProbeMapping));
    g_record = static_cast<ProbeRecord*>(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0));
    ULONG size = 0;
    const auto iat = static_cast<void**>(ImageDirectoryEntryToData(
        GetModuleHandleA(nullptr), TRUE, IMAGE_DIRECTORY_ENTRY_IAT, &size));
    if (!g_record || !LoadLibraryA(TORVAN_PROBE_PATH)) return false;
    Patch<kOpen>(iat, size, RegOpenKeyExA);  // the hooked functions
    Patch<kCreate>(iat, size, RegCreateKeyExA);
    Patch<kQuery>(iat, size, RegQueryValueExA);
    Patch<kSet>(iat, size, RegSetValueExA);
    Patch<kClose>(iat, size, RegCloseKey);
    return true;
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
        HDC dc = GetDC(call->hwnd);
        SelectObject(dc, font);
        GetTextExtentPoint32W(dc, text, GetWindowTextW(call->hwnd, text, 256), &size);
        ReleaseDC(call->hwnd, dc);
        g_record->textWidth = size.cx;
        g_record->icons = SendMessageW(call->hwnd, WM_GETICON, ICON_BIG, 0) &&
                          SendMessageW(call->hwnd, WM_GETICON, ICON_SMALL, 0);
        GetObjectW(font, sizeof g_record->font, &g_record->font);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
