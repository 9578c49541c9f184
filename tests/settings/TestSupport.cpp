#include "TestSupport.h"

#include <tuple>

namespace {

auto Fields(const PatchSettings& s) {
    return std::tie(s.Windowed, s.FullScreen, s.BgmTessal, s.Bgm16Bit, s.BgmStereo, s.BgmSampleRate,
                    s.PositionX, s.PositionY, s.WindowWidth, s.WindowHeight);
}

// UI language each LANGID implies: Traditional Chinese for Taiwan, Hong Kong and Macao,
// Simplified for the PRC and Singapore, English for everything else.
constexpr std::array<torvan_test::LocaleCase, 10> kLocaleLanguages{{
    {0x0409, 2},  // en-US
    {0x0804, 0},  // zh-CN
    {0x0404, 1},  // zh-TW
    {0x0C04, 1},  // zh-HK
    {0x1404, 1},  // zh-MO
    {0x1004, 0},  // zh-SG
    {0x0411, 2},  // ja-JP
    {0x0809, 2},  // en-GB
    {0x0004, 2},  // zh-Hans, a neutral identifier, not one of the listed locales
    {0x7C04, 2},  // zh-Hant, likewise
}};

}  // namespace

bool operator==(const PatchSettings& a, const PatchSettings& b) { return Fields(a) == Fields(b); }

void PrintTo(const PatchSettings& s, std::ostream* out) {
    *out << "{Windowed " << s.Windowed << ", FullScreen " << s.FullScreen << ", BgmTessal "
         << s.BgmTessal << ", Bgm16Bit " << s.Bgm16Bit << ", BgmStereo " << s.BgmStereo
         << ", BgmSampleRate " << s.BgmSampleRate << ", PositionX " << s.PositionX << ", PositionY "
         << s.PositionY << ", WindowWidth " << s.WindowWidth << ", WindowHeight " << s.WindowHeight
         << "}";
}

namespace torvan_test {

PatchSettings UntouchedMarker() {
    PatchSettings s;
    s.Windowed = 5;
    s.FullScreen = 6;
    s.BgmTessal = 7;
    s.Bgm16Bit = 8;
    s.BgmStereo = 9;
    s.BgmSampleRate = 12345;
    s.PositionX = -111;
    s.PositionY = -222;
    s.WindowWidth = 333;
    s.WindowHeight = 444;
    return s;
}

void ResetRegistryAndGlobals() {
#ifndef _WIN32
    fake_registry::Reset();
#endif
    const LONG status = RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
    EXPECT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << status;
    g_settings = PatchSettings{};
    g_uiLanguage = 0;
}

void CreateProductKey() {
    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE, nullptr, key.put(), nullptr));
}

bool ProductKeyExists() {
    RegKey key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_QUERY_VALUE, key.put()) ==
           ERROR_SUCCESS;
}

void PutRaw(const char* name, DWORD type, const void* data, DWORD count) {
    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE, nullptr, key.put(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key.get(), name, 0, type, static_cast<const BYTE*>(data), count))
        << name;
}

void PutDword(const char* name, std::int32_t value) {
    const auto bytes = DwordBytes(value);
    PutRaw(name, REG_DWORD, bytes.data(), static_cast<DWORD>(bytes.size()));
}

void PutText(const char* name, const char* text, DWORD type) {
    PutRaw(name, type, text, static_cast<DWORD>(std::string_view(text).size() + 1));
}

void DeleteValue(const char* name) {
    RegKey key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_SET_VALUE, key.put()));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(key.get(), name));
}

std::optional<StoredValue> GetValue(const char* name) {
    RegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    StoredValue value{type, std::vector<BYTE>(size)};
    // One spare byte: a string read gets no NUL appended when the buffer fits it exactly.
    std::vector<BYTE> buffer(size + 1, 0xCC);
    DWORD read = size;
    EXPECT_EQ(ERROR_SUCCESS,
              RegQueryValueExA(key.get(), name, nullptr, &type, buffer.data(), &read));
    EXPECT_EQ(size, read);
    EXPECT_EQ(value.type, type);
    value.data.assign(buffer.begin(), buffer.begin() + read);
    return value;
}

std::vector<BYTE> DwordBytes(std::int32_t value) {
    const auto raw = static_cast<std::uint32_t>(value);
    return {static_cast<BYTE>(raw), static_cast<BYTE>(raw >> 8), static_cast<BYTE>(raw >> 16),
            static_cast<BYTE>(raw >> 24)};
}

std::vector<BYTE> TextBytes(std::string_view text) {
    std::vector<BYTE> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

std::vector<LocaleCase> LocalesUnderTest() {
#ifdef _WIN32
    const LANGID current = GetUserDefaultLangID();
    for (const LocaleCase& locale : kLocaleLanguages) {
        if (locale.langId == current) return {locale};
    }
    ADD_FAILURE() << "no expectation for LANGID 0x" << std::hex << current;
    return {};
#else
    return {kLocaleLanguages.begin(), kLocaleLanguages.end()};
#endif
}

void UseLocale(LANGID langId) {
#ifdef _WIN32
    ASSERT_EQ(langId, GetUserDefaultLangID());
#else
    fake_registry::SetUserDefaultLangId(langId);
#endif
}

}  // namespace torvan_test
