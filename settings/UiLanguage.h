// The user interface's three languages and the one a locale implies. Portable, unlike the
// registry store beside it: the locale font and the language tables, built natively too, use it.
#ifndef TORVAN_SETTINGS_UILANGUAGE_H
#define TORVAN_SETTINGS_UILANGUAGE_H

#include <cstdint>

// Not an enum: any other value means English, and the combo box's -1 (no selection) fits too.
using UiLanguage = std::int32_t;

inline constexpr UiLanguage kSimplifiedChinese = 0;   // stored as "GB2312"
inline constexpr UiLanguage kTraditionalChinese = 1;  // stored as "BIG5"
inline constexpr UiLanguage kEnglish = 2;             // stored as "OTHER"

// The UI language a user's default LANGID implies when no usable language is stored. The dialog
// font follows the same groups.
constexpr UiLanguage DefaultLanguageForLocale(std::uint16_t langId) {
    switch (langId) {
        case 0x0404:  // Taiwan
        case 0x0C04:  // Hong Kong
        case 0x1404:  // Macao
            return kTraditionalChinese;
        case 0x0804:  // PRC
        case 0x1004:  // Singapore
            return kSimplifiedChinese;
        default:
            return kEnglish;
    }
}

#endif
