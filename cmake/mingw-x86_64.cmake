# 64-bit Windows build and tests: posix thread model, since GoogleTest needs std::mutex.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TORVAN_MINGW_TRIPLE x86_64-w64-mingw32)
set(TORVAN_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Windows-side tests run under wine64 (see scripts/wine-run.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
