# The Windows build (MinGW-w64, cmake/mingw-w64.cmake): the shared layers and their tests under
# Wine, the Windows services, the Win32 window and the installer. Qt is not used here.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  message(FATAL_ERROR "Configure the Windows build with -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake")
endif()
enable_language(RC)

# Wide-character Win32 API throughout; no min/max macros from windows.h; Windows 10 and later.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00
                        WINVER=0x0A00)
# Release programs carry no symbols.
add_link_options($<$<CONFIG:Release,MinSizeRel>:-s>)

add_subdirectory(core)
add_subdirectory(report)
add_subdirectory(platform)
add_subdirectory(form)
add_subdirectory(platform/windows)
add_subdirectory(ui/win32)
# The installers, which the tests install, upgrade and uninstall.
set(RISTEMO_SETUP ${CMAKE_BINARY_DIR}/ristemo-${RISTEMO_VERSION}-setup.exe)
set(RISTEMO_MSI ${CMAKE_BINARY_DIR}/ristemo-${RISTEMO_VERSION}.msi)
add_subdirectory(dist/windows)
# The start-up yardstick of bench/startup-windows.sh.
add_executable(bench_empty_window_win32 WIN32 bench/empty_window_win32.cpp)
target_link_options(bench_empty_window_win32 PRIVATE -municode)
set_target_properties(bench_empty_window_win32 PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                      ${CMAKE_BINARY_DIR}/bench)
# Not the yardstick: what one line of text with the program's look costs on top of it.
add_executable(bench_text_window_win32 WIN32 bench/empty_window_win32.cpp
               bench/text_window_win32.rc)
target_compile_definitions(bench_text_window_win32 PRIVATE WITH_TEXT)
target_include_directories(bench_text_window_win32 PRIVATE ${CMAKE_BINARY_DIR}/ui/win32)
target_link_options(bench_text_window_win32 PRIVATE -municode)
set_target_properties(bench_text_window_win32 PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                      ${CMAKE_BINARY_DIR}/bench)

if(RISTEMO_BUILD_TESTS)
  enable_testing()
  # Debian ships GoogleTest as sources; built here with the cross compiler, outside "all".
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # Wine runs the test programs in the build's prefix, booted now, at configure time.
  execute_process(COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} cmd /c exit RESULT_VARIABLE wine_status)
  if(NOT wine_status EQUAL 0)
    message(FATAL_ERROR "Wine could not start in ${CMAKE_BINARY_DIR}/wine (status ${wine_status})")
  endif()
  add_subdirectory(tests)
endif()
