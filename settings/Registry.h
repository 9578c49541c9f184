// The registry calls the settings store makes: ADVAPI32 itself on Windows, our in-memory
// stand-in natively. Plus the one owning wrapper for an open key.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include "FakeRegistry.h"
#endif

// Owns one open registry key and closes it once. A predefined root key (HKEY_LOCAL_MACHINE...)
// may be held but is never closed: nobody opened it.
class RegKey {
  public:
    RegKey() = default;
    explicit RegKey(HKEY key) noexcept : key_(key) {}
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey() { Close(); }

    HKEY get() const noexcept { return key_; }
    explicit operator bool() const noexcept { return key_ != nullptr; }
    // For the HKEY* out-parameter of RegOpenKeyExA/RegCreateKeyExA; closes what is held first.
    HKEY* put() noexcept {
        Close();
        return &key_;
    }
    void Close() noexcept {
        if (key_ && !IsPredefined(key_)) RegCloseKey(key_);
        key_ = nullptr;
    }

  private:
    static bool IsPredefined(HKEY key) noexcept {
        return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE ||
               key == HKEY_USERS || key == HKEY_PERFORMANCE_DATA || key == HKEY_CURRENT_CONFIG ||
               key == HKEY_DYN_DATA;
    }

    HKEY key_ = nullptr;
};
