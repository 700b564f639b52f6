# Desktop integration and packages: the icon files drawn at build time from the
# icon design (src/app/IconDesign), the menu entry, the software-centre metadata,
# the Windows resources, the install rules and the Debian package.
include(GNUInstallDirs)

set(SUDOKU_APP_ID io.github.sudoku_game.Sudoku)  # names the menu entry, the metadata and the icon
# Addresses the project may publish: none unless given (-DSUDOKU_HOMEPAGE=..., ...). Without them
# the metadata and packages name no address.
set(SUDOKU_HOMEPAGE "" CACHE STRING "Home page named in the package metadata (none if empty)")
set(SUDOKU_SCREENSHOT_URL "" CACHE STRING "Screenshot shown by software centres (none if empty)")
set(SUDOKU_CONTACT "" CACHE STRING "Maintainer's e-mail address in the Debian package (none if empty)")
set(SUDOKU_VENDOR "Sudoku developers")
set(SUDOKU_COPYRIGHT "© 2026 ${SUDOKU_VENDOR}")  # as LICENSE says
set(SUDOKU_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# Debian wants an address beside the maintainer's name: without a contact, one under the
# reserved top-level domain .invalid, which says plainly that there is none.
if(SUDOKU_CONTACT)
  set(SUDOKU_DEB_MAINTAINER "${SUDOKU_VENDOR} <${SUDOKU_CONTACT}>")
else()
  set(SUDOKU_DEB_MAINTAINER "${SUDOKU_VENDOR} <no-contact@sudoku-game.invalid>")
endif()
set(SUDOKU_RELEASE_DATE 2026-12-07)  # of PROJECT_VERSION
set(SUDOKU_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

# --- Icon files, generated from the same pixels as the window icon ---
set(SUDOKU_ICON_PNG_SIZES 16 24 32 48 64 128 256)
set(SUDOKU_ICON_ICO_SIZES 16 20 24 32 40 48 64 128 256)
set(SUDOKU_ICON_DIR ${PROJECT_BINARY_DIR}/icons)

if(CMAKE_CROSSCOMPILING)
  # icongen runs at build time, so it is built for the build machine, by its own host build.
  include(ExternalProject)
  set(icongen_dir ${PROJECT_BINARY_DIR}/icongen-host)
  set(icongen ${icongen_dir}/icongen${CMAKE_HOST_EXECUTABLE_SUFFIX})
  ExternalProject_Add(icongen_host
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools/icongen
    BINARY_DIR ${icongen_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    BUILD_BYPRODUCTS ${icongen}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
else()
  find_package(Qt6 REQUIRED COMPONENTS Gui)  # its PNG writer
  add_executable(icongen tools/icongen/main.cpp tools/icongen/IconFiles.cpp)
  target_include_directories(icongen PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(icongen PRIVATE sudoku_core Qt6::Gui)
  set(icongen icongen)
endif()

set(SUDOKU_ICO ${SUDOKU_ICON_DIR}/${SUDOKU_APP_ID}.ico)
set(SUDOKU_ICON_FILES ${SUDOKU_ICO} ${SUDOKU_ICON_DIR}/hicolor/scalable/apps/${SUDOKU_APP_ID}.svg)
foreach(size IN LISTS SUDOKU_ICON_PNG_SIZES)
  list(APPEND SUDOKU_ICON_FILES ${SUDOKU_ICON_DIR}/hicolor/${size}x${size}/apps/${SUDOKU_APP_ID}.png)
endforeach()
add_custom_command(OUTPUT ${SUDOKU_ICON_FILES}
  COMMAND ${icongen} ${SUDOKU_ICON_DIR} ${SUDOKU_APP_ID} --png ${SUDOKU_ICON_PNG_SIZES} --ico ${SUDOKU_ICON_ICO_SIZES}
  DEPENDS ${icongen}
  COMMENT "Drawing the icon files"
  VERBATIM)
add_custom_target(sudoku_icons ALL DEPENDS ${SUDOKU_ICON_FILES})

set(SUDOKU_METAINFO ${PROJECT_BINARY_DIR}/packaging/${SUDOKU_APP_ID}.metainfo.xml)
set(SUDOKU_METAINFO_URLS "")
if(SUDOKU_HOMEPAGE)
  string(APPEND SUDOKU_METAINFO_URLS "\n  <url type=\"homepage\">${SUDOKU_HOMEPAGE}</url>")
endif()
if(SUDOKU_SCREENSHOT_URL)
  string(APPEND SUDOKU_METAINFO_URLS "\n  <screenshots>\n    <screenshot type=\"default\">
      <caption>Новая игра на лёгком уровне</caption>\n      <image>${SUDOKU_SCREENSHOT_URL}</image>
    </screenshot>\n  </screenshots>")
endif()
configure_file(${SUDOKU_PACKAGING_DIR}/${SUDOKU_APP_ID}.metainfo.xml.in ${SUDOKU_METAINFO} @ONLY)
set(SUDOKU_DESKTOP_FILE ${SUDOKU_PACKAGING_DIR}/${SUDOKU_APP_ID}.desktop)

# --- Windows: icon, version and application manifest resources in the executable ---
if(WIN32)
  enable_language(RC)
  set(SUDOKU_MANIFEST ${PROJECT_BINARY_DIR}/packaging/sudoku.manifest)
  configure_file(${SUDOKU_PACKAGING_DIR}/windows/sudoku.manifest.in ${SUDOKU_MANIFEST} @ONLY)
  set(rc ${PROJECT_BINARY_DIR}/packaging/sudoku.rc)
  configure_file(${SUDOKU_PACKAGING_DIR}/windows/sudoku.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${SUDOKU_ICO};${SUDOKU_MANIFEST}")
  if(MSVC)
    target_link_options(sudoku PRIVATE /MANIFEST:NO)  # the resource carries the manifest
  endif()
  target_sources(sudoku PRIVATE ${rc})
  add_dependencies(sudoku sudoku_icons)
endif()

# --- Windows: the 32-bit game beside the 64-bit one ---
# A 64-bit cross-build with MinGW-w64 also makes the 32-bit sudoku.exe, with
# cmake/mingw-w64-i686.cmake, as a build of its own in x86/ (with its test programs when the
# tests are on), for the installer, the 32-bit ZIP and the tests under a 32-bit wine.
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(SUDOKU_ARCH win64)
  else()
    set(SUDOKU_ARCH win32)
  endif()
endif()
if(WIN32 AND CMAKE_CROSSCOMPILING AND MINGW AND SUDOKU_ARCH STREQUAL "win64")
  include(ExternalProject)
  set(SUDOKU_X86_DIR ${PROJECT_BINARY_DIR}/x86)
  set(SUDOKU_X86_EXE ${SUDOKU_X86_DIR}/sudoku.exe)
  set(x86_targets sudoku)
  if(SUDOKU_BUILD_TESTS)
    list(APPEND x86_targets unit_tests sudoku_old_windows)
  endif()
  ExternalProject_Add(sudoku_x86
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${SUDOKU_X86_DIR}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-i686.cmake
      -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DSUDOKU_BUILD_TESTS=${SUDOKU_BUILD_TESTS} -DSUDOKU_BUILD_BENCH=OFF
      -Wno-dev --no-warn-unused-cli  # the toolchain file is read on the first run only
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${SUDOKU_X86_DIR} --target ${x86_targets}
    BUILD_BYPRODUCTS ${SUDOKU_X86_EXE}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
endif()

# --- Install ---
if(WIN32)
  # One self-contained file at the top of its folder; in the packages a component per
  # processor (win64, win32), each a ZIP of its own.
  install(TARGETS sudoku RUNTIME DESTINATION . COMPONENT ${SUDOKU_ARCH})
  if(SUDOKU_X86_EXE)
    install(PROGRAMS ${SUDOKU_X86_EXE} DESTINATION . COMPONENT win32)
  endif()
else()
  # A game, as Debian places them (the package's section is games).
  install(TARGETS sudoku RUNTIME DESTINATION games)
endif()
if(UNIX AND NOT APPLE)
  # The licence as a Debian copyright file, the Debian changelog and the manual pages, compressed
  # as Debian wants them (gzip -9n: no name, no time stamp).
  set(deb_dir ${PROJECT_BINARY_DIR}/packaging/debian)
  set(deb_src ${SUDOKU_PACKAGING_DIR}/debian)
  set(SUDOKU_COPYRIGHT_SOURCE "")
  if(SUDOKU_HOMEPAGE)
    set(SUDOKU_COPYRIGHT_SOURCE "Source: ${SUDOKU_HOMEPAGE}\n")
  endif()
  file(READ ${SUDOKU_LICENSE} text)  # the body after the copyright line, as a field: " ." for a blank line
  string(REGEX REPLACE "^.*Copyright[^\n]*\n\n" "" text "${text}")
  string(REGEX REPLACE "\n+$" "" text "${text}")
  string(REPLACE "\n\n" "\n.\n" text "${text}")
  string(REPLACE "\n" "\n " SUDOKU_LICENSE_TEXT " ${text}")
  configure_file(${deb_src}/copyright.in ${deb_dir}/copyright @ONLY)
  configure_file(${deb_src}/changelog.in ${deb_dir}/changelog @ONLY)
  set(deb_docs ${deb_dir}/changelog.gz ${deb_dir}/sudoku.6.gz ${deb_dir}/ru/sudoku.6.gz)
  add_custom_command(OUTPUT ${deb_docs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${deb_dir}/ru
    COMMAND gzip -9n -c ${deb_dir}/changelog > ${deb_dir}/changelog.gz
    COMMAND gzip -9n -c ${deb_src}/sudoku.6 > ${deb_dir}/sudoku.6.gz
    COMMAND gzip -9n -c ${deb_src}/sudoku.ru.6 > ${deb_dir}/ru/sudoku.6.gz
    DEPENDS ${deb_dir}/changelog ${deb_src}/sudoku.6 ${deb_src}/sudoku.ru.6
    COMMENT "Compressing the changelog and the manual pages")
  add_custom_target(sudoku_docs ALL DEPENDS ${deb_docs})
  install(FILES ${deb_dir}/copyright ${deb_dir}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/sudoku-game)
  install(FILES ${deb_dir}/sudoku.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  install(FILES ${deb_dir}/ru/sudoku.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ru/man6)
  install(FILES ${SUDOKU_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${SUDOKU_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(DIRECTORY ${SUDOKU_ICON_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

# --- Packages: the Debian package on Linux; on Windows (also cross-built) an installer and a ZIP ---
set(CPACK_PACKAGE_NAME sudoku-game)
set(CPACK_PACKAGE_VENDOR ${SUDOKU_VENDOR})
set(CPACK_PACKAGE_CONTACT "${SUDOKU_DEB_MAINTAINER}")
set(CPACK_SUDOKU_COPYRIGHT ${SUDOKU_COPYRIGHT})  # the installer's version resource
set(CPACK_RESOURCE_FILE_LICENSE ${SUDOKU_LICENSE})  # the installer's licence page
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Судоку — головоломка с цифрами / Sudoku number puzzle")
set(CPACK_PACKAGE_DESCRIPTION  # lines of at most 80 columns
  "Классическое судоку для одного игрока с русским интерфейсом: заполните
сетку 9×9 так, чтобы в каждой строке, столбце и квадрате 3×3 цифры
от 1 до 9 не повторялись. Шесть уровней сложности, ввод мышью или
с клавиатуры, подсветка повторов.
.
Classic single-player Sudoku with a Russian interface: fill the 9×9 grid so
that every row, column and 3×3 box holds the digits 1 to 9 once each.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${SUDOKU_HOMEPAGE})
set(CPACK_STRIP_FILES ON)
if(UNIX AND NOT APPLE)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
elseif(WIN32)
  # `cmake --build <dir> --target package`: sudoku-game-<version>-setup.exe, an NSIS installer
  # (Debian's nsis suffices) that installs the sudoku.exe fitting the system, and
  # sudoku-game-<version>-win64.zip and -win32.zip, each holding its sudoku.exe alone.
  set(CPACK_GENERATOR NSIS ZIP)
  set(CPACK_PACKAGE_FILE_NAME sudoku-game-${PROJECT_VERSION}-setup)
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_ARCHIVE_WIN64_FILE_NAME sudoku-game-${PROJECT_VERSION}-win64)
  set(CPACK_ARCHIVE_WIN32_FILE_NAME sudoku-game-${PROJECT_VERSION}-win32)
  set(CPACK_STRIP_FILES OFF)  # the release link strips already; packages ship the built file as is
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_PACKAGE_INSTALL_DIRECTORY "Судоку")  # under Program Files or the user's Programs
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Sudoku)   # the Uninstall key of "Apps & features"
  set(CPACK_NSIS_DISPLAY_NAME "Судоку")            # also the Start-menu shortcut
  set(CPACK_NSIS_MUI_ICON ${SUDOKU_ICO})
  set(CPACK_NSIS_MUI_UNIICON ${SUDOKU_ICO})
  set(CPACK_NSIS_URL_INFO_ABOUT ${SUDOKU_HOMEPAGE})
  list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/nsis)  # our NSIS.template.in
else()
  set(CPACK_GENERATOR ZIP)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # Depends from the libraries the binary links (dpkg-shlibdeps)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-crosextra-carlito, qt6-wayland")  # Calibri's metric twin; Wayland
include(CPack)
