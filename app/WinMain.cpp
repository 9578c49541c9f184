// Start-up and shutdown: one modal dialog on an in-memory copy of the dialog resource, whose font
// may be replaced for Chinese systems before the dialog exists.
#include <windows.h>

#include <memory>

#include "LocaleFont.h"
#include "ResourceIds.h"
#include "SettingsDialog.h"
#include "dlgtemplate/DialogTemplateResource.h"
#include "settings/Settings.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::unique_ptr<DialogTemplate> dialogTemplate = LoadFromResource(instance, IDD_SETTINGS);
    if (!dialogTemplate) {
        // Only a damaged executable gets here; the language tables are not needed to say so.
        MessageBoxA(nullptr, "The dialog resource of this program is missing or damaged.",
                    "Patch for TORVAN95 Setting", MB_OK | MB_ICONERROR);
        return 1;
    }
    g_instance = instance;
    // Loaded before the dialog exists so its first painting shows the stored values.
    LoadSettings();
    ApplyLocaleFont(*dialogTemplate, GetUserDefaultLangID());

    DialogBoxIndirectParamA(instance, static_cast<LPCDLGTEMPLATEA>(dialogTemplate->Build()),
                            nullptr, SettingsDialogProc, 0);
    dialogTemplate->FreeBuilt();
    dialogTemplate.reset();
    return 0;
}
