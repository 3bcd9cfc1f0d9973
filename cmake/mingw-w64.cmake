# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads, for std::thread).
# Test programs run under Wine through cmake/wine-run.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(RISTEMO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${RISTEMO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RISTEMO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${RISTEMO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${RISTEMO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One .exe that needs only the DLLs Windows ships: libstdc++, libgcc and winpthread go inside.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Each build folder gets its own Wine prefix, made on first use.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run;${CMAKE_BINARY_DIR}/wine")
