// Start-up and shutdown: one modal dialog on an in-memory copy of the dialog resource, whose font
// may be replaced for Chinese systems before the dialog exists.
#include <windows.h>

#include <memory>

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
// is limited to system32; without the function for that (XP, Vista and 7 lacking its update) the
// current directory leaves the search, and those DLLs are loaded from system32 by full path now, so
// that a later load by name finds them loaded. They stay loaded for the whole run.
void KeepDllSearchInSystem32() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    SetDllDirectoryA("");
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH - 16);
    if (length == 0 || length >= MAX_PATH - 16) return;
    for (const char* name : {"\\uxtheme.dll", "\\dwmapi.dll"}) {  // dwmapi.dll: Vista and later
        lstrcpyA(path + length, name);
        LoadLibraryA(path);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    KeepDllSearchInSystem32();
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
