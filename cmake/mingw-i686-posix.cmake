# 32-bit Windows test builds: posix thread model, since GoogleTest needs std::mutex, which the
# win32 model of this GCC lacks. Not for the product (see mingw-i686.cmake).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TORVAN_MINGW_TRIPLE i686-w64-mingw32)
set(TORVAN_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Windows-side tests run under Wine (see scripts/wine-run.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
