// A program that shows a message box and nothing else: beside a planted DLL, it loads that DLL.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return MessageBoxA(nullptr, "", "", 0); }
