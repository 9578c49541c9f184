// The dialog font for the user's locale, chosen before the dialog exists.
#ifndef TORVAN_APP_LOCALEFONT_H
#define TORVAN_APP_LOCALEFONT_H

#include <cstdint>

class DialogTemplate;

// Traditional Chinese locales get 9-point MingLiU (charset 136), Simplified Chinese locales 9-point
// SimSun (charset 134); any other locale keeps the template's own font. The locale groups are
// those of the default UI language (DefaultLanguageForLocale, settings/UiLanguage.h).
void ApplyLocaleFont(DialogTemplate& dialogTemplate, std::uint16_t langId);

#endif
