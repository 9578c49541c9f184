// Copied beside a program as uxtheme.dll and dwmapi.dll: writes down in the probe's record under
// which name it was loaded.
#include <cstring>

#include "AppDriver.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    char path[MAX_PATH];
    if (reason == DLL_PROCESS_ATTACH && GetModuleFileNameA(instance, path, MAX_PATH))
        lstrcatA(e2e::Shared().planted, std::strrchr(path, '\\') + 1);
    return TRUE;
}
