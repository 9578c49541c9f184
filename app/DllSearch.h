// How the program keeps a DLL put beside it from loading: the choice (portable) and the fallback.
#ifndef TORVAN_APP_DLLSEARCH_H
#define TORVAN_APP_DLLSEARCH_H

// True where SetDefaultDllDirectories should limit the search to system32: it exists (Windows 8
// on, 7 and Vista with KB2533623) and Windows is not Vista (6.0), where COM objects fail to be
// created after it, so input methods and shell objects would. Anywhere else the fallback runs.
bool UseDefaultDllDirectories(unsigned major, unsigned minor, bool functionPresent);

#ifdef _WIN32
// SetDllDirectoryA("") and the DLLs that the system loads by name, from system32 by full path.
void LoadSystemDllsByPath();
#endif

#endif
