// Copied beside a program as uxtheme.dll and dwmapi.dll: writes down that it was loaded.
#include "AppDriver.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) e2e::Shared().planted = TRUE;
    return TRUE;
}
