// Drives the real TorvanPatch.exe from another process as a person would, with keys and clicks,
// and reads what it shows by message. Every wait is bounded; anything that fails to happen throws.
#ifndef TORVAN_TESTS_E2E_APPDRIVER_H
#define TORVAN_TESTS_E2E_APPDRIVER_H

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace e2e {

// The probe DLL answers from inside the program's process (Wine hands no font or icon across
// processes) in shared memory, where it also writes down the registry calls and reads `fail`.
inline constexpr char kProbeMessage[] = "TorvanE2eProbe", kProbeMapping[] = "TorvanE2eProbeRecord";
struct ProbeRecord {
    LOGFONTW font;   // the window's font
    LONG textWidth;  // its text in that font, in pixels
    BOOL icons;      // both the big and the small window icon are set
    BOOL planted;    // Planted.cpp was loaded
    char fail[32], calls[65536];
};

inline void Require(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error(what + " failed, error " + std::to_string(GetLastError()));
}

// One owning handle type per kind, closed by that kind's function.
template <auto Close>
struct Closer {
    void operator()(auto* handle) const { Close(handle); }
};
using Handle = std::unique_ptr<void, Closer<CloseHandle>>;
using Key = std::unique_ptr<HKEY__, Closer<RegCloseKey>>;  // never a predefined root

// The id of the control with the keyboard focus, in the foreground window's thread.
inline int Focused() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(0, &info);
    return GetDlgCtrlID(info.hwndFocus);
}
// For an effect that shows, bounded: never a fixed time.
inline bool WaitUntil(auto condition, DWORD milliseconds = 5000) {
    for (const DWORD start = GetTickCount(); !condition(); Sleep(10))
        if (GetTickCount() - start > milliseconds) return false;
    return true;
}
// A step not seen is told by what a person would see: the window in front, what has the focus.
inline void Await(auto condition, const std::string& step) {
    char front[64] = "";
    if (WaitUntil(condition)) return;
    GetClassNameA(GetForegroundWindow(), front, sizeof front);
    throw std::runtime_error(step + ": not seen within 5 s (in front: " + front + ", focus on " +
                             std::to_string(Focused()) + ")");
}

// ---- Registry: this 32-bit process sees the view the program and the 32-bit game patch use.
inline constexpr char kSettingsKey[] = "Software\\Kavrenta\\Torvan";

inline Key OpenKey(const char* path, REGSAM access) {
    HKEY key = nullptr;
    return Key(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, access, &key) ? nullptr : key);
}

inline void ResetRegistry() {  // Software\Kavrenta goes
    const LONG status = RegDeleteTreeA(OpenKey("Software", KEY_ALL_ACCESS).get(), "Kavrenta");
    Require(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND, "RegDeleteTreeA");
}

inline void Store(const char* name, DWORD type, std::string_view bytes) {
    HKEY key = nullptr;  // created where missing
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                    nullptr);
    const auto data = reinterpret_cast<const BYTE*>(bytes.data());
    Require(!RegSetValueExA(Key(key).get(), name, 0, type, data, bytes.size()), name);
}

inline std::string Dword(std::int32_t value) { return {reinterpret_cast<char*>(&value), 4}; }

using Values = std::map<std::string, std::pair<DWORD, std::string>>;  // name: type, bytes

// Every value of the settings key, as the 32-bit game patch reads it; nullopt when there is none.
inline std::optional<Values> ReadKey() {
    const Key key = OpenKey(kSettingsKey, KEY_READ);
    if (!key) return std::nullopt;
    Values values;
    char name[256], data[256];
    DWORD length = sizeof name, size = sizeof data, type = 0;
    for (DWORD i = 0; !RegEnumValueA(key.get(), i, name, &length, nullptr, &type,
                                     reinterpret_cast<BYTE*>(data), &size);
         ++i, length = sizeof name, size = sizeof data)
        values[name] = {type, std::string(data, size)};
    return values;
}

inline LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    Require(SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result),
            "message " + std::to_string(message));
    return static_cast<LRESULT>(result);
}

// Cross-process WM_GETTEXT converts through this process's code page, which is the program's.
inline std::string Text(HWND window) {
    char text[1024] = {};
    Send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// Starts a program; its handle. A Unix one's (xdotool) stay unclosed: Wine leaves stale values.
inline HANDLE Run(std::string commandLine, bool unix = false) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Require(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &info),
            "starting " + commandLine);
    if (unix) return nullptr;
    Handle(info.hThread).reset();
    return info.hProcess;
}

// ---- Input by xdotool through the display's XTEST extension; each step awaits its effect.
inline void Xdotool(const std::string& arguments) {
    Run("Z:\\usr\\bin\\xdotool " + arguments, true);
}
inline void Keys(const std::string& keys) { Xdotool("key --delay 0 " + keys); }  // "shift+Tab"

// A left click at the centre of a window, or at a point of the screen; then keys, say, in order.
inline void ClickAt(POINT at, const std::string& then = {}) {
    const std::string point = std::to_string(at.x) + " " + std::to_string(at.y);
    Xdotool("mousemove " + point + " mousedown 1 mouseup 1 " + then);
}
inline void ClickAt(HWND window, const std::string& then = {}) {
    RECT r{};
    Require(GetWindowRect(window, &r), "the rectangle of a window");
    ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, then);
}

// The title bar's close button by the system's metrics, confirmed by the window's hit test.
inline POINT CloseButton(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    const POINT at{r.right - GetSystemMetrics(SM_CXFIXEDFRAME) - GetSystemMetrics(SM_CXSIZE) / 2,
                   r.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYSIZE) / 2};
    Require(Send(window, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)) == HTCLOSE, "the close button");
    return at;
}

inline ProbeRecord& Shared() {
    static const Handle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                   sizeof(ProbeRecord), kProbeMapping));
    static auto* const record =
        static_cast<ProbeRecord*>(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0));
    Require(record != nullptr, "mapping the probe's record");
    return *record;
}

// Asks the probe DLL, hooked into the program's thread, about one of its windows.
inline const ProbeRecord& Probe(HWND window) {
    static const HMODULE probe = LoadLibraryA(TORVAN_PROBE_PATH);
    const auto hook = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void (*)()>(GetProcAddress(probe, "ProbeHook")));
    Require(hook != nullptr, "loading the probe");
    Shared().font.lfHeight = 0;
    const std::unique_ptr<HHOOK__, Closer<UnhookWindowsHookEx>> hooked(
        SetWindowsHookExA(WH_CALLWNDPROC, hook, probe, GetWindowThreadProcessId(window, nullptr)));
    Require(hooked != nullptr, "hooking the probe into the program");
    Send(window, RegisterWindowMessageA(kProbeMessage));
    Require(Shared().font.lfHeight != 0, "asking the probe");
    return Shared();
}

}  // namespace e2e

#endif
