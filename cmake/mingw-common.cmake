# Shared part of the MinGW-w64 cross toolchains. The per-target files set first:
#   TORVAN_MINGW_TRIPLE   i686-w64-mingw32
#   TORVAN_MINGW_THREADS  win32 or posix: the thread model of Debian's compiler variant. The variant
#                         is always named: the plain name follows a Debian alternative that
#                         installing the other variant may switch.
if(NOT TORVAN_MINGW_THREADS MATCHES "^(win32|posix)$")
  message(FATAL_ERROR "TORVAN_MINGW_THREADS must be win32 or posix, not '${TORVAN_MINGW_THREADS}'")
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TORVAN_MINGW_TRIPLE}-gcc-${TORVAN_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${TORVAN_MINGW_TRIPLE}-g++-${TORVAN_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${TORVAN_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TORVAN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: the exe must import system DLLs only.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Release builds ship without symbols.
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")
