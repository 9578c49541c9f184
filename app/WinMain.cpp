// Start-up and shutdown: one modal dialog on an in-memory copy of the dialog resource, whose font
// may be replaced for Chinese systems before the dialog exists.
#include <windows.h>

#include <memory>

#include "DllSearch.h"
#include "LocaleFont.h"
#include "ResourceIds.h"
#include "SettingsDialog.h"
#include "dlgtemplate/DialogTemplateResource.h"
#include "settings/Settings.h"

namespace {

// Windows elevates this program at every start, and players run it from wherever they unpacked it,
// often Downloads: a DLL put beside it must never run with those rights. The loader's own imports
// here are KnownDLLs, but the system DLLs load others by name later (uxtheme.dll, dwmapi.dll), and
// the search for those starts in the program's folder. So before anything can load one, the search
// is limited to system32, or, where that cannot be done, the fallback of DllSearchFallback.cpp
// runs.
void KeepDllSearchInSystem32() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    // Without a manifest entry for them, Windows 8.1 and later report 6.2 here, as 8 does: both
    // keep the function, which is all that the version decides.
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    if (UseDefaultDllDirectories(version.dwMajorVersion, version.dwMinorVersion,
                                 setDefaultDllDirectories != nullptr) &&
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    LoadSystemDllsByPath();
}

// Ends a start that cannot go on: said in English (the language tables may be what is damaged),
// where a message box can still be shown, and with a code that a caller can tell from a run.
int StartFailed(const char* text, int exitCode) {
    MessageBoxA(nullptr, text, "Patch for TORVAN95 Setting", MB_OK | MB_ICONERROR);
    return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    KeepDllSearchInSystem32();
    std::unique_ptr<DialogTemplate> dialogTemplate = LoadFromResource(instance, IDD_SETTINGS);
    // Only a damaged executable gets here.
    if (!dialogTemplate)
        return StartFailed("The dialog resource of this program is missing or damaged.", 1);
    g_instance = instance;
    // Loaded before the dialog exists so its first painting shows the stored values.
    LoadSettings();
    ApplyLocaleFont(*dialogTemplate, GetUserDefaultLangID());

    // The dialog ends with 1 alone (its window closed); -1 or 0 mean that it could not be made, for
    // instance without a desktop to show it on: not a run that ended well.
    const INT_PTR result =
        DialogBoxIndirectParamA(instance, static_cast<LPCDLGTEMPLATEA>(dialogTemplate->Build()),
                                nullptr, SettingsDialogProc, 0);
    dialogTemplate->FreeBuilt();
    dialogTemplate.reset();
    return result == 1 ? 0 : StartFailed("The dialog of this program could not be shown.", 2);
}
