// The process-wide settings record and UI language, and their home in the registry under
// HKEY_LOCAL_MACHINE\Software\Kavrenta\Torvan, which the game patch reads.
#ifndef TORVAN_SETTINGS_SETTINGS_H
#define TORVAN_SETTINGS_SETTINGS_H

#include <cstdint>

#include "UiLanguage.h"

// One field per registry value, named as stored. The first five are flags (any non-zero value
// counts as set; a load stores them as 0 or 1), in the order of their check boxes.
struct PatchSettings {
    std::int32_t Windowed = 0;
    std::int32_t FullScreen = 0;
    std::int32_t BgmTessal = 1;
    std::int32_t Bgm16Bit = 1;
    std::int32_t BgmStereo = 0;
    std::int32_t BgmSampleRate = 44100;
    std::int32_t PositionX = 0;
    std::int32_t PositionY = 0;
    std::int32_t WindowWidth = 640;
    std::int32_t WindowHeight = 400;
};

extern PatchSettings g_settings;
extern UiLanguage g_uiLanguage;

// Reads the key into g_settings and g_uiLanguage. A key that cannot be opened changes nothing.
// Of the numbers, an absent, mistyped or missized one leaves its field as it was, and one whose
// data cannot be read takes a fallback; a language not read gives DefaultLanguageForLocale's.
void LoadSettings();

// Writes g_uiLanguage and g_settings to the key, creating it when needed. Every value is tried
// even after a failed one; false if the key could not be created or any write failed.
bool SaveSettings();

#endif
