// Drives the real TorvanPatch.exe from another process, as a user's clicks and keys would, and
// reads the registry it writes. Every wait is bounded; a failure to reach the program throws
// DriverError, which fails the current test.
#ifndef TORVAN_TESTS_E2E_APPDRIVER_H
#define TORVAN_TESTS_E2E_APPDRIVER_H

#include <windows.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "E2eProbe.h"

namespace e2e {

class DriverError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Owns one handle of a kind and releases it with that kind's close function.
template <class Handle, auto Close>
class Owned {
  public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Handle{});
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    void reset() {
        if (handle_ != Handle{}) Close(handle_);
        handle_ = Handle{};
    }

  private:
    Handle handle_{};
};

using UniqueHandle = Owned<HANDLE, CloseHandle>;    // process, thread, file mapping
using RegKey = Owned<HKEY, RegCloseKey>;            // an opened sub-key, never a predefined root
using MappedView = Owned<LPVOID, UnmapViewOfFile>;  // a view of a file mapping
using WindowsHook = Owned<HHOOK, UnhookWindowsHookEx>;

// ---- Registry: HKEY_LOCAL_MACHINE\Software\Kavrenta\Torvan ---------------------------------
// The test and the program are built for the same architecture, so both see the same view.

// Removes Software\Kavrenta with everything below it; absent is fine.
void DeleteVendorKey();
// Creates Software\Kavrenta as a volatile key: a non-volatile Torvan key can then not be created
// below it, so the program's Save fails.
void CreateVolatileVendorKey();
void CreateSettingsKey();
void StoreDword(const char* name, std::int32_t value);
// Stores the bytes exactly as given (include the terminating NUL where one is wanted).
void StoreBytes(const char* name, DWORD type, std::string_view bytes);
bool SettingsKeyExists();

struct StoredValue {
    DWORD type;
    std::string bytes;
};
// nullopt when the key or the value is absent.
std::optional<StoredValue> ReadStoredValue(const char* name);
// Empty when the key is absent.
std::vector<std::string> StoredValueNames();

// ---- The program's process ------------------------------------------------------------------

class AppProcess {
  public:
    // Starts TorvanPatch.exe with the given command-line arguments after its own path.
    explicit AppProcess(const std::string& arguments = {});
    // Kills the program if it is still running.
    ~AppProcess();
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;

    // The visible top-level dialog of the program, once the dialog manager has shown it.
    HWND WaitForDialog() const;
    // A visible dialog-class window of the program owned by owner (a message box).
    HWND WaitForOwnedBox(HWND owner) const;
    // True and the exit code when the program ended within the time.
    bool WaitForExit(DWORD milliseconds, DWORD* exitCode) const;
    bool Running() const;

  private:
    UniqueHandle process_;
    UniqueHandle thread_;
    DWORD processId_ = 0;
};

// ---- Windows of the program -----------------------------------------------------------------

// SendMessageTimeoutA with a bound; throws DriverError if the program does not answer in time.
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Polls until the condition holds or the time is up; returns the condition's last value.
template <class Condition>
bool WaitUntil(Condition condition, DWORD milliseconds = 5000) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(10);
    }
}
void WaitUntilGone(HWND window);

HWND Item(HWND dialog, int id);  // throws when the control does not exist
// The text as the program's window shows it, read back through the ANSI functions.
std::string Text(HWND window);
std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);  // as typed into the field
bool ItemEnabled(HWND dialog, int id);
bool ItemChecked(HWND dialog, int id);
// A mouse click on a button or check box; returns once the program has handled it.
void Click(HWND dialog, int id);
// The same click, queued: for buttons whose command opens a modal box.
void PostClick(HWND dialog, int id);
// Puts the keyboard focus into a control the way a mouse click into it does.
void ClickInto(HWND dialog, int id);
// Presses and releases a key on the control that has the keyboard focus, through the program's
// message loop so the dialog manager sees it.
void PressKey(HWND dialog, WORD virtualKey);

std::vector<std::string> ComboEntries(HWND combo);
int ComboSelection(HWND combo);
// Moves the selection with the arrow keys, as a user picking an entry by keyboard does.
void PickComboEntry(HWND combo, int index);

// Children of a window with the given class name, in z-order.
std::vector<HWND> ChildrenOfClass(HWND parent, const char* className);

// Asks the in-process probe about one window of the program.
ProbeReport Probe(HWND window);

}  // namespace e2e

#endif
