// Where SetDefaultDllDirectories is missing or must not be used (XP; Vista; 7 without KB2533623),
// the installers that elevated players run (7-Zip, NSIS) take these two steps instead, and so do
// we, before anything can load a DLL by name.
#include <windows.h>

#include "DllSearch.h"

void LoadSystemDllsByPath() {
    // The current directory leaves the search. The program's own folder stays in it: nothing
    // takes that out before Windows 8, hence the loads below.
    SetDllDirectoryA("");
    // The DLLs that the system loads by name later, where the search starts in the program's
    // folder: once loaded from system32 here, a load by name finds them loaded. The installers'
    // list, for what loads them there: uxtheme (USER32's themes; dwmapi first: 7's uxtheme imports
    // it), userenv, setupapi, apphelp (the shim engine), propsys, cryptbase (RPC's random
    // numbers), oleacc, clbcatq (the COM catalogue), ntmarta (ADVAPI32's access control) and
    // version. This program calls none of them itself, but input methods and the system's own
    // code run in it and do; none left out.
    constexpr const char* kDlls[] = {"\\dwmapi.dll",    "\\uxtheme.dll", "\\userenv.dll",
                                     "\\setupapi.dll",  "\\apphelp.dll", "\\propsys.dll",
                                     "\\cryptbase.dll", "\\oleacc.dll",  "\\clbcatq.dll",
                                     "\\ntmarta.dll",   "\\version.dll"};
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH - 16);
    if (length == 0 || length >= MAX_PATH - 16) return;
    for (const char* name : kDlls) {
        lstrcpyA(path + length, name);
        // By full path, and with the altered search path: each DLL's own imports are then looked
        // for from system32 first, not from the program's folder. One that is missing (dwmapi
        // before Vista, cryptbase before 7) fails alone. They stay loaded for the whole run.
        LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
}
