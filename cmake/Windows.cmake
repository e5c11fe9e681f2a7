# The Windows build (cross-compiled with cmake/MinGW-w64.cmake): one slideshow.exe that needs
# nothing beside it. Every library is a static archive that scripts/build-deps.sh windows built
# from Debian's source packages; MinGW's C and C++ runtimes are linked in too. The fonts are
# embedded as in every build; Windows has no fontconfig.
set(SLIDESHOW_DEPS_DIR /var/cache/slideshow-deps/windows CACHE PATH
    "Where scripts/build-deps.sh windows put the static libraries")
foreach(archive SDL2 freetype jpeg expat png z)
  if(NOT EXISTS ${SLIDESHOW_DEPS_DIR}/lib/lib${archive}.a)
    message(FATAL_ERROR "No static ${archive} in ${SLIDESHOW_DEPS_DIR}: run scripts/build-deps.sh windows first")
  endif()
endforeach()
list(APPEND CMAKE_FIND_ROOT_PATH ${SLIDESHOW_DEPS_DIR})

set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
# Stripped, and only the functions it calls: the viewer travels in every collection file.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-static -s -Wl,--gc-sections)

find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)
find_package(EXPAT REQUIRED)
find_package(PNG REQUIRED)
# Expat's headers declare its functions as DLL imports unless told the library is static.
set_property(TARGET EXPAT::EXPAT APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS XML_STATIC)

# SDL2's own main() replacement is not used: the programs keep their standard main().
add_library(PkgConfig::SDL2 INTERFACE IMPORTED)
target_include_directories(PkgConfig::SDL2 INTERFACE ${SLIDESHOW_DEPS_DIR}/include/SDL2)
target_compile_definitions(PkgConfig::SDL2 INTERFACE SDL_MAIN_HANDLED)
target_link_libraries(PkgConfig::SDL2 INTERFACE ${SLIDESHOW_DEPS_DIR}/lib/libSDL2.a
                      setupapi winmm imm32 version ole32 oleaut32 gdi32 user32 shell32 advapi32 uuid)

add_library(PkgConfig::FREETYPE INTERFACE IMPORTED)
target_include_directories(PkgConfig::FREETYPE INTERFACE ${SLIDESHOW_DEPS_DIR}/include/freetype2)
target_link_libraries(PkgConfig::FREETYPE INTERFACE ${SLIDESHOW_DEPS_DIR}/lib/libfreetype.a ZLIB::ZLIB)

# GoogleTest from Debian's source (libgtest-dev), built with the cross compiler for the tests
# that run under Wine.
if(SLIDESHOW_TESTS)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # It names its targets GTest::gtest and GTest::gtest_main itself.
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
