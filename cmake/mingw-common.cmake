# Shared part of the MinGW-w64 cross toolchains; the per-target files set TORVAN_MINGW_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TORVAN_MINGW_TRIPLE}-gcc-posix)
# The -posix threading model: GoogleTest needs std::mutex, which the win32 model lacks.
set(CMAKE_CXX_COMPILER ${TORVAN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TORVAN_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TORVAN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: the exe must import system DLLs only.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Release builds ship without symbols.
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")
