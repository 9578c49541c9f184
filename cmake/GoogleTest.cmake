# GoogleTest from Debian's source package, built with our own compiler so the same
# sources serve the native build and the MinGW cross builds.
set(TORVAN_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT WIN32 OR TORVAN_WINDOWS_TESTS)
  if(NOT EXISTS ${TORVAN_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found at ${TORVAN_GTEST_SOURCE}: run scripts/install-deps.sh")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${TORVAN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# Registers a GoogleTest executable with CTest. On the Windows presets CTest prefixes it with the
# wine wrapper (CMAKE_CROSSCOMPILING_EMULATOR); extra ENVIRONMENT entries (such as LC_ALL) go in ENV.
function(torvan_add_gtest name)
  cmake_parse_arguments(ARG "" "TARGET" "ENV;ARGS" ${ARGN})
  if(NOT ARG_TARGET)
    set(ARG_TARGET ${name})
  endif()
  add_test(NAME ${name} COMMAND ${ARG_TARGET} ${ARG_ARGS})
  if(ARG_ENV)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ARG_ENV}")
  endif()
endfunction()
