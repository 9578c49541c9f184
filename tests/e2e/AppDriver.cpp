#include "AppDriver.h"

#include <cstring>

namespace e2e {

namespace {

constexpr char kVendorKey[] = "Software\\Kavrenta";
constexpr char kSettingsKey[] = "Software\\Kavrenta\\Torvan";
constexpr DWORD kMessageTimeoutMs = 5000;
// A cold Wine start of the program can take a few seconds on a busy machine.
constexpr DWORD kDialogTimeoutMs = 20000;

// Wine maps the Unix file system to drive Z:.
std::string WinePath(std::string_view unixPath) {
    std::string path = "Z:";
    for (char c : unixPath) path += c == '/' ? '\\' : c;
    return path;
}

std::string LastErrorText(const char* what) {
    return std::string(what) + " failed, error " + std::to_string(GetLastError());
}

RegKey CreateKey(const char* subKey, DWORD options) {
    HKEY key = nullptr;
    const LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, options,
                                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        throw DriverError(std::string("RegCreateKeyExA ") + subKey +
                          " failed: " + std::to_string(status));
    }
    return RegKey(key);
}

// Opens the settings key for reading; an empty RegKey when it does not exist.
RegKey OpenSettingsKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return RegKey();
    }
    return RegKey(key);
}

struct WindowSearch {
    DWORD processId;
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchDialogWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (processId == search->processId && std::strcmp(className, "#32770") == 0 &&
        GetWindow(window, GW_OWNER) == search->owner && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialogWindow(DWORD processId, HWND owner) {
    WindowSearch search{processId, owner, nullptr};
    EnumWindows(MatchDialogWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ToCodePage(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

void SendKeyStroke(HWND window, WORD virtualKey) {
    const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    Send(window, WM_KEYDOWN, virtualKey, scanCode | 1);
    Send(window, WM_KEYUP, virtualKey, scanCode | 1 | (LPARAM{3} << 30));
}

}  // namespace

// ---- Registry -------------------------------------------------------------------------------

void DeleteVendorKey() {
    const LONG status = RegDeleteTreeA(HKEY_LOCAL_MACHINE, kVendorKey);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        throw DriverError("RegDeleteTreeA failed: " + std::to_string(status));
    }
}

void CreateVolatileVendorKey() { CreateKey(kVendorKey, REG_OPTION_VOLATILE); }

void CreateSettingsKey() { CreateKey(kSettingsKey, REG_OPTION_NON_VOLATILE); }

void StoreBytes(const char* name, DWORD type, std::string_view bytes) {
    const RegKey key = CreateKey(kSettingsKey, REG_OPTION_NON_VOLATILE);
    const LONG status =
        RegSetValueExA(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
    if (status != ERROR_SUCCESS) {
        throw DriverError(std::string("RegSetValueExA ") + name +
                          " failed: " + std::to_string(status));
    }
}

void StoreDword(const char* name, std::int32_t value) {
    char bytes[4];
    std::memcpy(bytes, &value, sizeof bytes);  // little-endian, as REG_DWORD is
    StoreBytes(name, REG_DWORD, std::string_view(bytes, sizeof bytes));
}

bool SettingsKeyExists() { return static_cast<bool>(OpenSettingsKey()); }

std::optional<StoredValue> ReadStoredValue(const char* name) {
    const RegKey key = OpenSettingsKey();
    if (!key) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::string bytes(size, '\0');
    if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()),
                         &size) != ERROR_SUCCESS) {
        throw DriverError(std::string("RegQueryValueExA ") + name + " failed");
    }
    bytes.resize(size);
    return StoredValue{type, bytes};
}

std::vector<std::string> StoredValueNames() {
    std::vector<std::string> names;
    const RegKey key = OpenSettingsKey();
    if (!key) return names;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumValueA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

// ---- The program's process ------------------------------------------------------------------

AppProcess::AppProcess(const std::string& arguments) {
    std::string commandLine = "\"" + WinePath(TORVAN_APP_PATH) + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        throw DriverError(LastErrorText("CreateProcessA") + " for " + commandLine);
    }
    process_ = UniqueHandle(info.hProcess);
    thread_ = UniqueHandle(info.hThread);
    processId_ = info.dwProcessId;
}

AppProcess::~AppProcess() {
    if (Running()) {
        TerminateProcess(process_.get(), 255);
        WaitForSingleObject(process_.get(), kMessageTimeoutMs);
    }
}

HWND AppProcess::WaitForDialog() const {
    HWND dialog = nullptr;
    WaitUntil(
        [&] { return (dialog = FindDialogWindow(processId_, nullptr)) != nullptr || !Running(); },
        kDialogTimeoutMs);
    if (!dialog) throw DriverError("the program showed no dialog");
    return dialog;
}

HWND AppProcess::WaitForOwnedBox(HWND owner) const {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindDialogWindow(processId_, owner)) != nullptr; });
    if (!box) throw DriverError("no message box appeared");
    return box;
}

bool AppProcess::WaitForExit(DWORD milliseconds, DWORD* exitCode) const {
    if (WaitForSingleObject(process_.get(), milliseconds) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(process_.get(), exitCode) != 0;
}

bool AppProcess::Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

// ---- Windows of the program -----------------------------------------------------------------

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                             kMessageTimeoutMs, &result)) {
        throw DriverError("message " + std::to_string(message) +
                          " got no answer: " + LastErrorText("SendMessageTimeoutA"));
    }
    return static_cast<LRESULT>(result);
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!PostMessageA(window, message, wParam, lParam))
        throw DriverError(LastErrorText("PostMessageA"));
}

void WaitUntilGone(HWND window) {
    if (!WaitUntil([&] { return !IsWindow(window); })) throw DriverError("a window did not close");
}

HWND Item(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    if (!item) throw DriverError("no control with id " + std::to_string(id));
    return item;
}

std::string Text(HWND window) {
    // Cross-process WM_GETTEXT is marshalled by the system: the program's UTF-16 window text
    // comes back converted through this process's code page.
    char buffer[2048] = {};
    Send(window, WM_GETTEXT, sizeof buffer - 1, reinterpret_cast<LPARAM>(buffer));
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

std::string ItemText(HWND dialog, int id) { return Text(Item(dialog, id)); }

void SetItemText(HWND dialog, int id, const std::string& text) {
    if (!Send(Item(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) {
        throw DriverError("WM_SETTEXT refused for control " + std::to_string(id));
    }
}

bool ItemEnabled(HWND dialog, int id) { return IsWindowEnabled(Item(dialog, id)) != FALSE; }

bool ItemChecked(HWND dialog, int id) { return Send(Item(dialog, id), BM_GETCHECK) == BST_CHECKED; }

void Click(HWND dialog, int id) { Send(Item(dialog, id), BM_CLICK); }

void PostClick(HWND dialog, int id) { Post(Item(dialog, id), BM_CLICK); }

void ClickInto(HWND dialog, int id) {
    HWND item = Item(dialog, id);
    Send(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    Send(item, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ||
        info.hwndFocus != item) {
        throw DriverError("a click did not focus control " + std::to_string(id));
    }
}

void PressKey(HWND dialog, WORD virtualKey) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) {
        throw DriverError(LastErrorText("GetGUIThreadInfo"));
    }
    HWND target = info.hwndFocus ? info.hwndFocus : dialog;
    // Posted, not sent: the modal loop's IsDialogMessage only sees queued keys.
    const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    Post(target, WM_KEYDOWN, virtualKey, scanCode | 1);
    Post(target, WM_KEYUP, virtualKey, scanCode | 1 | (LPARAM{3} << 30));
}

std::vector<std::string> ComboEntries(HWND combo) {
    // Wine returns a cross-process CB_GETLBTEXT sent as ANSI unconverted (UTF-16), so ask for
    // UTF-16 and convert it with the code page the program's ANSI entries were stored through.
    std::vector<std::string> entries;
    const LRESULT count = Send(combo, CB_GETCOUNT);
    for (LRESULT index = 0; index < count; ++index) {
        wchar_t buffer[512] = {};
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                 reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                                 kMessageTimeoutMs, &length) ||
            static_cast<LRESULT>(length) == CB_ERR) {
            throw DriverError("CB_GETLBTEXT failed");
        }
        entries.push_back(ToCodePage(std::wstring_view(buffer, wcsnlen(buffer, 511))));
    }
    return entries;
}

int ComboSelection(HWND combo) { return static_cast<int>(Send(combo, CB_GETCURSEL)); }

void PickComboEntry(HWND combo, int index) {
    for (int current = ComboSelection(combo); current != index;) {
        SendKeyStroke(combo, current < index ? VK_DOWN : VK_UP);
        const int next = ComboSelection(combo);
        if (next == current) throw DriverError("the combo box did not move its selection");
        current = next;
    }
}

std::vector<HWND> ChildrenOfClass(HWND parent, const char* className) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, className) == 0) children.push_back(child);
    }
    return children;
}

ProbeReport Probe(HWND window) {
    // Loaded once; Wine loads the same module by its path into the program when the hook fires.
    static HMODULE module = LoadLibraryA(WinePath(TORVAN_PROBE_PATH).c_str());
    if (!module) throw DriverError(LastErrorText("LoadLibraryA of the probe"));
    const auto procedure = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "E2eProbeHook")));
    if (!procedure) throw DriverError("the probe exports no hook procedure");

    const UniqueHandle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                  sizeof(ProbeReport), kProbeMappingName));
    if (!mapping) throw DriverError(LastErrorText("CreateFileMappingA"));
    const MappedView view(MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!view) throw DriverError(LastErrorText("MapViewOfFile"));
    ZeroMemory(view.get(), sizeof(ProbeReport));

    const WindowsHook hook(SetWindowsHookExA(WH_CALLWNDPROC, procedure, module,
                                             GetWindowThreadProcessId(window, nullptr)));
    if (!hook) throw DriverError(LastErrorText("SetWindowsHookExA"));
    Send(window, RegisterWindowMessageA(kProbeMessageName));

    ProbeReport report{};
    CopyMemory(&report, view.get(), sizeof report);
    if (!report.answered) throw DriverError("the in-process probe did not answer");
    return report;
}

}  // namespace e2e
