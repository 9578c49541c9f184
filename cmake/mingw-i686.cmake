# The product: 32-bit, win32 thread model. The posix model's runtime (winpthreads) imports
# GetTickCount64, which Windows XP lacks, and a thread runtime this single-threaded program
# does not need.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TORVAN_MINGW_TRIPLE i686-w64-mingw32)
set(TORVAN_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
