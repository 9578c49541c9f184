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
#include <vector>

namespace e2e {

// The probe DLL answers from inside the program's process (Wine hands no font or icon across
// processes) in shared memory, where it also writes down the registry calls and reads `fail`.
inline constexpr char kProbeMessage[] = "TorvanE2eProbe", kProbeMapping[] = "TorvanE2eProbeRecord";
struct ProbeRecord {
    LOGFONTW font;   // the window's font
    LONG textWidth;  // its text in that font, in pixels
    BOOL icons;      // both the big and the small window icon are set
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

// For an effect that shows, bounded: never a fixed time.
inline bool WaitUntil(auto condition, DWORD milliseconds = 5000) {
    for (const DWORD start = GetTickCount(); !condition(); Sleep(10))
        if (GetTickCount() - start > milliseconds) return false;
    return true;
}
inline void Await(auto condition, const std::string& step) {
    if (!WaitUntil(condition)) throw std::runtime_error(step + ": not seen within 5 s");
}

// ---- Registry: a plain access sees the product's 32-bit view, KEY_WOW64_64KEY a 64-bit one's.
inline constexpr char kSettingsKey[] = "Software\\Kavrenta\\Torvan";

inline Key OpenKey(const char* path, REGSAM access) {
    HKEY key = nullptr;
    return Key(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, access, &key) ? nullptr : key);
}

inline void ResetRegistry() {  // Software\Kavrenta goes, in both views
    for (REGSAM view : {0, KEY_WOW64_64KEY}) {
        const LONG status =
            RegDeleteTreeA(OpenKey("Software", KEY_ALL_ACCESS | view).get(), "Kavrenta");
        Require(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND, "RegDeleteTreeA");
    }
}

inline void Store(const char* name, DWORD type, std::string_view bytes, REGSAM view = 0) {
    HKEY created = nullptr;
    Require(!RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE | view,
                             nullptr, &created, nullptr),
            "creating the key");
    const auto data = reinterpret_cast<const BYTE*>(bytes.data());
    Require(!RegSetValueExA(Key(created).get(), name, 0, type, data, bytes.size()), name);
}

inline std::string Dword(std::int32_t value) { return {reinterpret_cast<char*>(&value), 4}; }

using Values = std::map<std::string, std::pair<DWORD, std::string>>;  // name: type, bytes

// Every value of a key; nullopt when the key does not exist.
inline std::optional<Values> ReadKey(const char* path = kSettingsKey, REGSAM view = 0) {
    const Key key = OpenKey(path, KEY_READ | view);
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

// ---- Input as a keyboard and a mouse give it: into the system's input queue, from where keys go
// to whatever has the focus and a click to whatever is under the pointer.
inline void SendInputs(std::vector<INPUT> inputs) {
    Require(SendInput(inputs.size(), inputs.data(), sizeof(INPUT)) == inputs.size(), "SendInput");
}

// Keys down, or up, as the keyboard reports them.
inline void SendKeys(std::initializer_list<WORD> keys, DWORD flags) {
    std::vector<INPUT> inputs(keys.size(), INPUT{INPUT_KEYBOARD, {}});
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const WORD key = keys.begin()[i];
        inputs[i].ki = {key, static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)), flags, 0, 0};
    }
    SendInputs(inputs);
}

// Presses `key` with the keys `held` held down, and lets them go once its effect shows, as a
// person does: Wine may read Shift's state when the program takes the key, not when it came.
inline void Press(WORD key, std::initializer_list<WORD> held, auto effect,
                  const std::string& step) {
    SendKeys(held, 0);
    SendKeys({key}, 0);
    SendKeys({key}, KEYEVENTF_KEYUP);
    const bool shown = WaitUntil(effect);
    SendKeys(held, KEYEVENTF_KEYUP);
    if (!shown) throw std::runtime_error(step + ": not seen within 5 s");
}
// Without a wait: for keys alone, and with Alt, which makes a system key as the key is queued.
inline void Press(WORD key, std::initializer_list<WORD> held = {}) {
    Press(
        key, held, [] { return true; }, "");
}

// The pointer moves to a point of the screen (0 to 65536 across it), and the left button clicks.
inline void ClickAt(POINT at) {
    const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> inputs(3, INPUT{INPUT_MOUSE, {}});
    inputs[0].mi = {(at.x * 65536 + width - 1) / width,
                    (at.y * 65536 + height - 1) / height,
                    0,
                    MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
                    0,
                    0};
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInputs(inputs);
}

// Where a person clicks a control: the centre of its rectangle on the screen.
inline POINT Centre(HWND window) {
    RECT r{};
    Require(GetWindowRect(window, &r), "the rectangle of a window");
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The centre of the title bar's close button by the system's metrics, as the window's own hit
// test confirms: a title bar without one answers otherwise.
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
