// Drives the real TorvanPatch.exe from another process, as a user's clicks and keys would, and
// reads what it stores. Every wait is bounded; anything that fails to happen throws DriverError.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "E2eProbe.h"

namespace e2e {

struct DriverError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline void Require(bool ok, const std::string& what) {
    if (!ok) throw DriverError(what + " failed, error " + std::to_string(GetLastError()));
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
    for (const DWORD start = GetTickCount(); !condition(); Sleep(10)) {
        if (GetTickCount() - start > milliseconds) return false;
    }
    return true;
}

// Wine maps the Unix file system to drive Z:.
inline std::string WinePath(std::string path) {
    for (char& c : path) c = c == '/' ? '\\' : c;
    return "Z:" + path;
}

// ---- Registry. The test is 32-bit like the product, so a plain access sees the product's
// view; KEY_WOW64_64KEY sees what a 64-bit program sees.
inline constexpr char kSettingsKey[] = "Software\\Kavrenta\\Torvan";

inline Key OpenKey(const char* path, REGSAM access, bool create = false,
                   DWORD options = REG_OPTION_NON_VOLATILE) {
    HKEY key = nullptr;
    const LONG status = create ? RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, options,
                                                 access, nullptr, &key, nullptr)
                               : RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, access, &key);
    return Key(status == ERROR_SUCCESS ? key : nullptr);
}

// Removes Software\Kavrenta from both views.
inline void ResetRegistry() {
    for (REGSAM view : {REGSAM{0}, REGSAM{KEY_WOW64_64KEY}}) {
        const Key software = OpenKey("Software", KEY_ALL_ACCESS | view);
        const LONG status = RegDeleteTreeA(software.get(), "Kavrenta");
        Require(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND, "RegDeleteTreeA");
    }
}

inline void Store(const char* name, DWORD type, std::string_view bytes, REGSAM view = 0) {
    const Key key = OpenKey(kSettingsKey, KEY_SET_VALUE | view, true);
    Require(
        key && RegSetValueExA(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                              static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS,
        std::string("storing ") + name);
}

inline std::string Dword(std::int32_t value) {  // little-endian, as REG_DWORD is
    return {reinterpret_cast<const char*>(&value), 4};
}

struct Value {
    DWORD type;
    std::string bytes;
    bool operator==(const Value&) const = default;
};
using Values = std::map<std::string, Value>;

// Every value of a key; nullopt when the key does not exist.
inline std::optional<Values> ReadKey(const char* path = kSettingsKey, REGSAM view = 0) {
    const Key key = OpenKey(path, KEY_READ | view);
    if (!key) return std::nullopt;
    Values values;
    for (DWORD index = 0;; ++index) {
        char name[256];
        char data[256];
        DWORD nameLength = sizeof name, size = sizeof data, type = 0;
        if (RegEnumValueA(key.get(), index, name, &nameLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS) {
            return values;
        }
        values[name] = {type, std::string(data, size)};
    }
}

// ---- The program's windows.
inline LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    Require(SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result),
            "message " + std::to_string(message));
    return static_cast<LRESULT>(result);
}

inline void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    Require(PostMessageA(window, message, wParam, lParam), "posting a message");
}

inline HWND Item(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    Require(item != nullptr, "finding control " + std::to_string(id));
    return item;
}

// Cross-process WM_GETTEXT converts through this process's code page, which is the program's.
inline std::string Text(HWND window) {
    char buffer[1024] = {};
    Send(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

inline void Type(HWND field, const std::string& text) {
    Send(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

inline bool Checked(HWND button) { return Send(button, BM_GETCHECK) == BST_CHECKED; }

inline void Click(HWND button) { Send(button, BM_CLICK); }

// A key press on the focused control, through the program's message loop as typed keys go.
inline void PressKey(HWND dialog, WORD key) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    Require(GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info), "focus");
    Post(info.hwndFocus ? info.hwndFocus : dialog, WM_KEYDOWN, key, 1);
    Post(info.hwndFocus ? info.hwndFocus : dialog, WM_KEYUP, key, 0xC0000001);
}

// Moves the selection with the arrow keys, as a user picking an entry by keyboard does.
inline void PickEntry(HWND combo, int index) {
    for (LRESULT current = Send(combo, CB_GETCURSEL); current != index;) {
        const WPARAM key = current < index ? VK_DOWN : VK_UP;
        Send(combo, WM_KEYDOWN, key, 1);
        Send(combo, WM_KEYUP, key, 0xC0000001);
        const LRESULT next = Send(combo, CB_GETCURSEL);
        Require(next != current, "moving the combo box selection");
        current = next;
    }
}

// Wine answers a cross-process CB_GETLBTEXT in UTF-16 only; converted like WM_GETTEXT's answer.
inline std::string ComboEntry(HWND combo, int index) {
    wchar_t entry[256] = {};
    DWORD_PTR length = 0;
    Require(SendMessageTimeoutW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(entry),
                                SMTO_ABORTIFHUNG, 5000, &length),
            "CB_GETLBTEXT");
    char bytes[512] = {};
    WideCharToMultiByte(CP_ACP, 0, entry, -1, bytes, sizeof bytes, nullptr, nullptr);
    return bytes;
}

// Asks the probe DLL, hooked into the program's thread, about one of its windows.
inline ProbeReport Probe(HWND window) {
    static const HMODULE probe = LoadLibraryA(WinePath(TORVAN_PROBE_PATH).c_str());
    const auto hook = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void (*)()>(GetProcAddress(probe, "ProbeHook")));
    Require(hook != nullptr, "loading the probe");
    const Handle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            sizeof(ProbeReport), kProbeMapping));
    const std::unique_ptr<ProbeReport, Closer<UnmapViewOfFile>> shared(
        static_cast<ProbeReport*>(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0)));
    Require(shared != nullptr, "sharing memory with the probe");
    *shared = {};
    const std::unique_ptr<HHOOK__, Closer<UnhookWindowsHookEx>> hooked(
        SetWindowsHookExA(WH_CALLWNDPROC, hook, probe, GetWindowThreadProcessId(window, nullptr)));
    Require(hooked != nullptr, "hooking the program");
    Send(window, RegisterWindowMessageA(kProbeMessage));
    Require(shared->answered, "asking the probe");
    return *shared;
}

// ---- The program's process; killed if still running when this goes.
class App {
  public:
    explicit App(const std::string& arguments) {
        std::string commandLine = "\"" + WinePath(TORVAN_APP_PATH) + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        Require(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                               CREATE_SUSPENDED, nullptr, nullptr, &startup, &info),
                "starting " + commandLine);
        process_.reset(info.hProcess);
        const Handle thread(info.hThread);
        processId_ = info.dwProcessId;
        // Ends with this test process even if it crashes, so no run is left waiting on it.
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        Require(SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits,
                                        sizeof limits) &&
                    AssignProcessToJobObject(job_.get(), process_.get()) &&
                    ResumeThread(thread.get()) != DWORD(-1),
                "putting the program in a job");
        dialog = WaitForWindow(nullptr, 20000);  // a cold start under Wine can take seconds
    }
    ~App() {
        if (Running()) TerminateProcess(process_.get(), 255);
    }

    bool Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

    // The program's visible dialog-class window owned by `owner`: the dialog itself (no
    // owner) or a message box.
    HWND WaitForWindow(HWND owner, DWORD milliseconds = 5000) const {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr));) {
                    DWORD processId = 0;
                    GetWindowThreadProcessId(w, &processId);
                    if (processId == processId_ && GetWindow(w, GW_OWNER) == owner &&
                        IsWindowVisible(w))
                        return (found = w) != nullptr;
                }
                return false;
            },
            milliseconds);
        Require(found != nullptr, "waiting for a window of the program");
        return found;
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
