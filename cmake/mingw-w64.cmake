# Cross-build for 64-bit Windows from Debian with MinGW-w64 (package g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build/windows -G Ninja --toolchain cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
# cmake/mingw-w64-i686.cmake is the same for 32-bit Windows. The executables link their runtime
# statically, so they need no DLL beyond Windows' own.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT SUDOKU_MINGW_TRIPLE)  # set by the 32-bit toolchain file
  set(CMAKE_SYSTEM_PROCESSOR x86_64)
  set(SUDOKU_MINGW_TRIPLE x86_64-w64-mingw32)
endif()

set(CMAKE_C_COMPILER ${SUDOKU_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SUDOKU_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${SUDOKU_MINGW_TRIPLE}-windres)

# Libraries and packages come from the MinGW tree only, never from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${SUDOKU_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and other build-time runs of Windows programs go through wine, in a throwaway prefix.
find_program(SUDOKU_WINE wine)
if(SUDOKU_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
endif()
