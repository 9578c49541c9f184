#include "LocaleFont.h"

#include "dlgtemplate/DialogTemplate.h"
#include "settings/UiLanguage.h"

namespace {

constexpr std::uint8_t kGb2312Charset = 134;
constexpr std::uint8_t kChineseBig5Charset = 136;

}  // namespace

void ApplyLocaleFont(DialogTemplate& dialogTemplate, std::uint16_t langId) {
    // The font follows the system locale only, never the UI language picked in the dialog: the
    // texts are shown through the system's code page, and these fonts cover it.
    switch (DefaultLanguageForLocale(langId)) {
        case kTraditionalChinese:
            dialogTemplate.SetFont(9, 400, 0, kChineseBig5Charset, u"細明體");  // MingLiU
            break;
        case kSimplifiedChinese:
            dialogTemplate.SetFont(9, 400, 0, kGb2312Charset, u"宋体");  // SimSun
            break;
        default:
            break;
    }
}
