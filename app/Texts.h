// The dialog's texts in the three UI languages, as the byte strings the ANSI window functions get.
#ifndef TORVAN_APP_TEXTS_H
#define TORVAN_APP_TEXTS_H

#include "settings/UiLanguage.h"

// One language's strings. The Simplified Chinese set is GB2312, the Traditional Chinese set Big5,
// the English set ASCII; the language label mixes all three (each part legible under its own code
// page). The first fifteen are in the order the dialog sets them.
struct LanguageTexts {
    const char* Title;
    const char* SaveCaption;
    const char* LoadCaption;
    const char* AboutButtonCaption;
    const char* WindowedLabel;
    const char* FullScreenLabel;
    const char* BgmTessalLabel;
    const char* Bgm16BitLabel;
    const char* BgmStereoLabel;
    const char* LanguageLabel;
    const char* SampleRateLabel;
    const char* PosXLabel;
    const char* PosYLabel;
    const char* WidthLabel;
    const char* HeightLabel;
    const char* AboutCaption;
    const char* AboutText;  // five lines joined by CR LF, no break after the last
    const char* SaveFailedText;
};

extern const LanguageTexts TextsGb2312;
extern const LanguageTexts TextsBig5;
extern const LanguageTexts TextsOther;

// kSimplifiedChinese -> TextsGb2312, kTraditionalChinese -> TextsBig5, else (-1 too) TextsOther.
const LanguageTexts& TextsForLanguage(UiLanguage language);

// The language combo box entries, each in its own encoding; an entry's index is the language it
// selects.
extern const char* const LanguageComboEntries[3];

#endif
