# The web build: Debian's emscripten package and its own CMake platform file.
#   cmake -S . -B build/wasm -G Ninja --toolchain cmake/emscripten.cmake
# Its JavaScript tools find their modules under Debian's node path.
set(ENV{NODE_PATH} /usr/share/nodejs)
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
