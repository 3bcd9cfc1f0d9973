# The Windows build (MinGW-w64, cmake/mingw-w64.cmake): the shared layers, their tests under Wine,
# the Win32 window and the installer. Qt is not used here.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  message(FATAL_ERROR "Configure the Windows build with -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake")
endif()

# Wide-character Win32 API throughout; no min/max macros from windows.h.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00
                        WINVER=0x0A00)

add_subdirectory(core)
add_subdirectory(report)

if(RISTEMO_BUILD_TESTS)
  enable_testing()
  # Debian ships GoogleTest as sources; built here with the cross compiler, outside "all".
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  include(GoogleTest)
  # Listing a test program's tests needs Wine: done by ctest, not by the build, in a prefix that is
  # booted now (a first boot takes longer than the listing may).
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
  execute_process(COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} cmd /c exit RESULT_VARIABLE wine_status)
  if(NOT wine_status EQUAL 0)
    message(FATAL_ERROR "Wine could not start in ${CMAKE_BINARY_DIR}/wine (status ${wine_status})")
  endif()
  add_subdirectory(tests/core)
  add_subdirectory(tests/report)
endif()
