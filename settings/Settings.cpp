#include "Settings.h"

#include <windows.h>

#include <array>
#include <optional>
#include <string_view>

PatchSettings g_settings;
UiLanguage g_uiLanguage = kSimplifiedChinese;

namespace {

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

// No registry view is named: a 32-bit build on 64-bit Windows uses the 32-bit view, which is
// where the game patch, itself 32-bit, looks.
constexpr char kSubKey[] = "Software\\Kavrenta\\Torvan";
constexpr char kLanguageValue[] = "Language";

// Indexed by UiLanguage (the three names); stored with their NUL (7, 5 and 6 bytes).
constexpr std::array<std::string_view, 3> kLanguageNames{"GB2312", "BIG5", "OTHER"};

constexpr PatchSettings kStartValues{};

struct DwordValue {
    const char* name;
    std::int32_t PatchSettings::*field;
    std::int32_t fallback;  // stored when the value looks right but its data cannot be read
    bool isFlag;
};

// In the order the values are read and written.
constexpr std::array<DwordValue, 10> kDwordValues{{
    {"Windowed", &PatchSettings::Windowed, 1, true},
    {"FullScreen", &PatchSettings::FullScreen, kStartValues.FullScreen, true},
    {"BgmTessal", &PatchSettings::BgmTessal, kStartValues.BgmTessal, true},
    {"BgmSampleRate", &PatchSettings::BgmSampleRate, kStartValues.BgmSampleRate, false},
    {"BgmStereo", &PatchSettings::BgmStereo, kStartValues.BgmStereo, true},
    {"Bgm16Bit", &PatchSettings::Bgm16Bit, kStartValues.Bgm16Bit, true},
    {"PositionX", &PatchSettings::PositionX, kStartValues.PositionX, false},
    {"PositionY", &PatchSettings::PositionY, kStartValues.PositionY, false},
    {"WindowWidth", &PatchSettings::WindowWidth, kStartValues.WindowWidth, false},
    {"WindowHeight", &PatchSettings::WindowHeight, kStartValues.WindowHeight, false},
}};

enum class ReadResult {
    Unusable,    // absent, unreadable, or not of the expected type and size
    DataFailed,  // type and size were right, but reading the data failed
    Read,
};

// Reads a REG_DWORD of exactly 4 bytes. `value` is set only when the result is Read.
ReadResult QueryDword(HKEY key, const char* name, std::int32_t& value) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != 4) {
        return ReadResult::Unusable;
    }
    std::array<BYTE, 4> bytes{};
    size = static_cast<DWORD>(bytes.size());
    if (RegQueryValueExA(key, name, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != 4) {
        return ReadResult::DataFailed;
    }
    const std::uint32_t raw = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                              std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
    value = static_cast<std::int32_t>(raw);
    return ReadResult::Read;
}

// Reads "Language" as a REG_SZ of 2 to 7 bytes; nullopt when absent, mistyped, missized or
// unreadable.
std::optional<UiLanguage> QueryLanguage(HKEY key) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExA(key, kLanguageValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ || size < 2 || size > 7) {
        return std::nullopt;
    }
    // Zeroed, and one byte longer than any accepted value: a string stored without its NUL
    // (another writer's doing) still ends within the buffer, so the comparison cannot run past
    // the bytes read, and "GB2312" stored as 6 bytes reads as "GB2312".
    std::array<char, 8> text{};
    if (RegQueryValueExA(key, kLanguageValue, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ || size > 7) {
        return std::nullopt;
    }
    for (const UiLanguage language : {kSimplifiedChinese, kTraditionalChinese}) {
        if (lstrcmpA(text.data(), kLanguageNames[language].data()) == 0) return language;
    }
    return kEnglish;
}

bool SetDword(HKEY key, const char* name, std::int32_t value) {
    const auto raw = static_cast<std::uint32_t>(value);
    const std::array<BYTE, 4> bytes{static_cast<BYTE>(raw), static_cast<BYTE>(raw >> 8),
                                    static_cast<BYTE>(raw >> 16), static_cast<BYTE>(raw >> 24)};
    return RegSetValueExA(key, name, 0, REG_DWORD, bytes.data(),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

// Writes the text with its terminating NUL.
bool SetString(HKEY key, const char* name, std::string_view text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace

void LoadSettings() {
    RegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSubKey, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS) {
        return;
    }
    // Only once the key exists: a first run (no key) keeps Simplified Chinese whatever the locale.
    g_uiLanguage = DefaultLanguageForLocale(GetUserDefaultLangID());
    if (const auto stored = QueryLanguage(key.get())) g_uiLanguage = *stored;

    for (const DwordValue& entry : kDwordValues) {
        std::int32_t value = 0;
        switch (QueryDword(key.get(), entry.name, value)) {
            case ReadResult::Unusable:
                break;
            case ReadResult::DataFailed:
                g_settings.*entry.field = entry.fallback;
                break;
            case ReadResult::Read:
                g_settings.*entry.field = entry.isFlag ? (value != 0 ? 1 : 0) : value;
                break;
        }
    }
}

bool SaveSettings() {
    RegKey key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSubKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool known = g_uiLanguage == kSimplifiedChinese || g_uiLanguage == kTraditionalChinese;
    bool allWritten =
        SetString(key.get(), kLanguageValue, kLanguageNames[known ? g_uiLanguage : kEnglish]);
    // Each value is tried even after a failed one, so nothing writable is lost.
    for (const DwordValue& entry : kDwordValues) {
        allWritten = SetDword(key.get(), entry.name, g_settings.*entry.field) && allWritten;
    }
    return allWritten;
}
