# Cross-build for 32-bit Windows from Debian with MinGW-w64 (package g++-mingw-w64-i686-posix):
#   cmake -S . -B build/windows-x86 -G Ninja --toolchain cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Release
# The 64-bit build makes this one itself (in its folder x86/) for the installer and the 32-bit ZIP.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(SUDOKU_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
