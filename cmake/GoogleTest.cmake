# GoogleTest from Debian's source package, built with our own compiler so the same
# sources serve the native build and the MinGW cross builds.
set(TORVAN_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (the project root's)")
if(NOT WIN32 OR TORVAN_WINDOWS_TESTS)
  if(NOT EXISTS ${TORVAN_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found at ${TORVAN_GTEST_SOURCE}: build inside the project root (scripts/build.sh)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${TORVAN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
