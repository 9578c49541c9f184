// Read before every C++ source of the Windows product (CMakeLists.txt), which runs on Windows XP.
// The win32-thread libstdc++ of Debian 13's MinGW-w64 (GCC 14) was configured for Vista and later,
// where its C++ threads stand on condition variables; at XP's API level its thread header declares
// none, and C++20's <memory> (through atomic waiting, which wants std::mutex) no longer compiles.
// What XP really has in this runtime is no C++ threads: the headers are told so before they read
// anything else, so <memory> compiles without them, and std::mutex, std::thread or an atomic wait
// would fail to compile instead of needing Vista. The single-threaded program uses none of them,
// so no compiled library code it links depends on the setting.
#include <bits/c++config.h>
#if defined(__MINGW32__) && _WIN32_WINNT < 0x0600
#undef _GLIBCXX_HAS_GTHREADS
#endif
