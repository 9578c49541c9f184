// Drives the real TorvanPatch.exe from another process as a user would. Every wait is bounded;
// anything that fails to happen throws.
#pragma once

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

template <class Condition>
bool WaitUntil(Condition condition, DWORD milliseconds = 5000) {
    for (const DWORD start = GetTickCount(); !condition(); Sleep(10))
        if (GetTickCount() - start > milliseconds) return false;
    return true;
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
    HKEY key = nullptr;
    Require(!RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE | view,
                             nullptr, &key, nullptr) &&
                !RegSetValueExA(Key(key).get(), name, 0, type,
                                reinterpret_cast<const BYTE*>(bytes.data()), bytes.size()),
            std::string("storing ") + name);
}

inline std::string Dword(std::int32_t value) { return {reinterpret_cast<char*>(&value), 4}; }

using Values = std::map<std::string, std::pair<DWORD, std::string>>;  // name: type, bytes

// Every value of a key; nullopt when the key does not exist.
inline std::optional<Values> ReadKey(const char* path = kSettingsKey, REGSAM view = 0) {
    const Key key = OpenKey(path, KEY_READ | view);
    if (!key) return std::nullopt;
    Values values;
    char name[256], data[256];
    for (DWORD i = 0, length = sizeof name, size = sizeof data, type = 0;
         RegEnumValueA(key.get(), i, name, &length, nullptr, &type, reinterpret_cast<BYTE*>(data),
                       &size) == ERROR_SUCCESS;
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

inline void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    Require(PostMessageA(window, message, wParam, lParam), "posting a message");
}

// Cross-process WM_GETTEXT converts through this process's code page, which is the program's.
inline std::string Text(HWND window) {
    char text[1024] = {};
    Send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
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
    ProbeRecord& shared = Shared();
    shared.font.lfHeight = 0;
    const std::unique_ptr<HHOOK__, Closer<UnhookWindowsHookEx>> hooked(
        SetWindowsHookExA(WH_CALLWNDPROC, hook, probe, GetWindowThreadProcessId(window, nullptr)));
    Send(window, RegisterWindowMessageA(kProbeMessage));
    Require(hooked && shared.font.lfHeight, "asking the probe");
    return shared;
}

// ---- The program's process, in a job so that it ends with this test process, crash or not.
class App {
  public:
    explicit App(std::string commandLine) {
        commandLine = "\"" TORVAN_APP_PATH "\" " + commandLine;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        Require(SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits,
                                        sizeof limits) &&
                    CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &info) &&
                    AssignProcessToJobObject(job_.get(), info.hProcess),
                "starting " + commandLine);
        process_.reset(info.hProcess);
        Handle(info.hThread).reset();
        processId_ = info.dwProcessId;
        dialog = WaitForWindow(nullptr, 20000);  // a cold start under Wine can take seconds
        Probe(dialog);  // between the program and the registry from here on, after its first Load
    }

    // The program's visible dialog (no owner) or a message box (owned by the dialog).
    HWND WaitForWindow(HWND owner, DWORD milliseconds = 5000) const {
        HWND w = nullptr;
        WaitUntil(
            [&] {
                DWORD id = 0;
                while ((w = FindWindowExA(nullptr, w, "#32770", nullptr)))
                    if (GetWindowThreadProcessId(w, &id),
                        id == processId_ && GetWindow(w, GW_OWNER) == owner && IsWindowVisible(w))
                        return true;
                return false;
            },
            milliseconds);
        Require(w != nullptr, "waiting for a window of the program");
        return w;
    }

    DWORD WaitForExit() const {
        DWORD code = 0;
        Require(WaitForSingleObject(process_.get(), 10000) == WAIT_OBJECT_0 &&
                    GetExitCodeProcess(process_.get(), &code),
                "waiting for the program to end");
        return code;
    }

    HWND dialog = nullptr;

  private:
    Handle job_{CreateJobObjectA(nullptr, nullptr)};
    Handle process_;
    DWORD processId_ = 0;
};

}  // namespace e2e
