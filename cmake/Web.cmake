# The game as a web page: the web front end compiled to WebAssembly, and the page around it,
# into one folder of static files (SUDOKU_WEB_DIR) that any web server can publish.
set(SUDOKU_WEB_DIR ${PROJECT_BINARY_DIR}/site CACHE PATH "Folder the page is built into")
set(web ${PROJECT_SOURCE_DIR}/web)

add_executable(sudoku
  src/main_web.cpp
  src/platform/web/WebWindow.cpp
  src/platform/web/WebAccess.cpp
  src/platform/web/WebServices.cpp
  src/platform/web/KeyCodes.cpp
)
target_link_libraries(sudoku PRIVATE sudoku_core)
# The game's own code is unchanged: Asyncify lets its event pump yield to the browser.
target_compile_options(sudoku_core PRIVATE -Os)
target_compile_options(sudoku PRIVATE -Os)
target_link_options(sudoku PRIVATE -Os -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sENVIRONMENT=web
  -sFILESYSTEM=0 -sINITIAL_MEMORY=16777216 -sTOTAL_STACK=1048576 --closure=0)
set_target_properties(sudoku PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${SUDOKU_WEB_DIR})

# The icon, drawn from the same design as the desktop's by icongen, built for the build machine.
include(ExternalProject)
set(icongen_dir ${PROJECT_BINARY_DIR}/icongen-host)
set(icongen ${icongen_dir}/icongen)
ExternalProject_Add(icongen_host
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools/icongen
  BINARY_DIR ${icongen_dir}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE= -DCMAKE_CXX_COMPILER=c++
  BUILD_BYPRODUCTS ${icongen}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON)
set(icon_dir ${PROJECT_BINARY_DIR}/icons)
set(icons ${SUDOKU_WEB_DIR}/icon-32.png ${SUDOKU_WEB_DIR}/icon-192.png ${SUDOKU_WEB_DIR}/icon-256.png
  ${SUDOKU_WEB_DIR}/icon.svg)
add_custom_command(OUTPUT ${icons}
  COMMAND ${icongen} ${icon_dir} sudoku --png 32 192 256
  COMMAND ${CMAKE_COMMAND} -E copy ${icon_dir}/hicolor/32x32/apps/sudoku.png ${SUDOKU_WEB_DIR}/icon-32.png
  COMMAND ${CMAKE_COMMAND} -E copy ${icon_dir}/hicolor/192x192/apps/sudoku.png ${SUDOKU_WEB_DIR}/icon-192.png
  COMMAND ${CMAKE_COMMAND} -E copy ${icon_dir}/hicolor/256x256/apps/sudoku.png ${SUDOKU_WEB_DIR}/icon-256.png
  COMMAND ${CMAKE_COMMAND} -E copy ${icon_dir}/hicolor/scalable/apps/sudoku.svg ${SUDOKU_WEB_DIR}/icon.svg
  DEPENDS icongen_host
  COMMENT "Drawing the page's icons"
  VERBATIM)

# The page, its script and style, the manifest, the font (SIL Open Font Licence: the glyphs the
# game draws, renamed by web/font_subset.py), and last the service worker, which names this build's
# files and a version drawn from their contents.
set(SUDOKU_WEB_FONT /usr/share/fonts/truetype/crosextra/Carlito-Regular.ttf CACHE FILEPATH "The game's font")
set(SUDOKU_WEB_FONT_LICENCE /usr/share/doc/fonts-crosextra-carlito/copyright CACHE FILEPATH "Its licence")
find_program(SUDOKU_HOST_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(page_files manifest.webmanifest)
add_custom_command(OUTPUT ${SUDOKU_WEB_DIR}/index.html
  COMMAND ${CMAKE_COMMAND} -DTEMPLATE=${web}/index.html -DCSS=${web}/shell.css -DBOOT=${web}/boot.js
    -DJS=${web}/shell.js
    -DOUT=${SUDOKU_WEB_DIR}/index.html -P ${web}/Inline.cmake
  # The separate files earlier builds shipped: the service worker would keep them.
  COMMAND ${CMAKE_COMMAND} -E rm -f ${SUDOKU_WEB_DIR}/shell.js ${SUDOKU_WEB_DIR}/shell.css
  DEPENDS ${web}/index.html ${web}/shell.css ${web}/boot.js ${web}/shell.js ${web}/Inline.cmake VERBATIM)
set(page_outputs ${SUDOKU_WEB_DIR}/index.html)
foreach(f IN LISTS page_files)
  add_custom_command(OUTPUT ${SUDOKU_WEB_DIR}/${f}
    COMMAND ${CMAKE_COMMAND} -E copy ${web}/${f} ${SUDOKU_WEB_DIR}/${f}
    DEPENDS ${web}/${f} VERBATIM)
  list(APPEND page_outputs ${SUDOKU_WEB_DIR}/${f})
endforeach()
add_custom_command(OUTPUT ${SUDOKU_WEB_DIR}/SudokuSans.ttf ${SUDOKU_WEB_DIR}/SudokuSans-OFL.txt
  COMMAND ${SUDOKU_HOST_PYTHON} ${web}/font_subset.py ${SUDOKU_WEB_FONT} ${SUDOKU_WEB_DIR}/SudokuSans.ttf
  COMMAND ${CMAKE_COMMAND} -E copy ${SUDOKU_WEB_FONT_LICENCE} ${SUDOKU_WEB_DIR}/SudokuSans-OFL.txt
  # The whole font earlier builds shipped: the service worker would keep it.
  COMMAND ${CMAKE_COMMAND} -E rm -f ${SUDOKU_WEB_DIR}/Carlito-Regular.ttf ${SUDOKU_WEB_DIR}/Carlito-OFL.txt
  DEPENDS ${SUDOKU_WEB_FONT} ${SUDOKU_WEB_FONT_LICENCE} ${web}/font_subset.py
  COMMENT "Cutting the page's font"
  VERBATIM)
add_custom_command(OUTPUT ${SUDOKU_WEB_DIR}/sw.js
  COMMAND ${CMAKE_COMMAND} -DDIR=${SUDOKU_WEB_DIR} -DTEMPLATE=${web}/sw.js -P ${web}/ServiceWorker.cmake
  DEPENDS sudoku ${page_outputs} ${icons} ${SUDOKU_WEB_DIR}/SudokuSans.ttf ${web}/sw.js
    ${web}/ServiceWorker.cmake
  COMMENT "Naming this build's files for the service worker"
  VERBATIM)
add_custom_target(web_page ALL DEPENDS ${SUDOKU_WEB_DIR}/sw.js)
