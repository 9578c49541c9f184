// Helpers shared by the settings tests, natively (in-memory registry) and under Wine (the real
// one). Every helper goes through the same Win32 calls the store uses.
#pragma once

#include "Registry.h"
#include "Settings.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

bool operator==(const PatchSettings& a, const PatchSettings& b);
void PrintTo(const PatchSettings& settings, std::ostream* out);

namespace torvan_test {

inline constexpr char kProductKey[] = "Software\\Kavrenta\\Torvan";

// The ten 32-bit values as the game patch knows them: name, field, whether a flag, and what a
// failed data read stores.
struct FieldInfo {
    const char* name;
    std::int32_t PatchSettings::*field;
    bool isFlag;
    std::int32_t fallback;
};
inline constexpr std::array<FieldInfo, 10> kFields{{
    {"Windowed", &PatchSettings::Windowed, true, 1},
    {"FullScreen", &PatchSettings::FullScreen, true, 0},
    {"BgmTessal", &PatchSettings::BgmTessal, true, 1},
    {"BgmSampleRate", &PatchSettings::BgmSampleRate, false, 44100},
    {"BgmStereo", &PatchSettings::BgmStereo, true, 0},
    {"Bgm16Bit", &PatchSettings::Bgm16Bit, true, 1},
    {"PositionX", &PatchSettings::PositionX, false, 0},
    {"PositionY", &PatchSettings::PositionY, false, 0},
    {"WindowWidth", &PatchSettings::WindowWidth, false, 640},
    {"WindowHeight", &PatchSettings::WindowHeight, false, 400},
}};

// Values no load or start state produces, to see which fields a load touched.
PatchSettings UntouchedMarker();

// Deletes HKLM\Software\Kavrenta\Torvan and puts the globals back to their start values
// (natively it also resets the in-memory registry).
void ResetRegistryAndGlobals();

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetRegistryAndGlobals(); }
    void TearDown() override { ResetRegistryAndGlobals(); }
};

void CreateProductKey();
bool ProductKeyExists();
// Writes `count` bytes as a value of the product key (created when needed). As with
// RegSetValueExA itself, a string type reads one byte past `count`.
void PutRaw(const char* name, DWORD type, const void* data, DWORD count);
void PutDword(const char* name, std::int32_t value);
// The text with its terminating NUL.
void PutText(const char* name, const char* text, DWORD type = REG_SZ);
void DeleteValue(const char* name);

struct StoredValue {
    DWORD type;
    std::vector<BYTE> data;
};
// The value as stored in the product key; nullopt when the key or the value is absent.
std::optional<StoredValue> GetValue(const char* name);
std::vector<BYTE> DwordBytes(std::int32_t value);
std::vector<BYTE> TextBytes(std::string_view text);  // with the terminating NUL

// A user default LANGID and the UI language it implies without a stored one.
struct LocaleCase {
    LANGID langId;
    UiLanguage language;
};
// Natively every locale of interest (switched through the in-memory layer); under Wine only
// this process's own, which the test registration chose through LC_ALL.
std::vector<LocaleCase> LocalesUnderTest();
// Makes `langId` the user default LANGID (natively); under Wine checks that it is.
void UseLocale(LANGID langId);

}  // namespace torvan_test
