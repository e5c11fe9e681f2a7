# The portable build (-DSLIDESHOW_PORTABLE=ON): the viewer that travels with a collection needs
# nothing but glibc and the desktop's X11 or Wayland client libraries. Every other library is
# linked statically: SDL2 (video only, X11 and Wayland loaded at run time) and FreeType from
# scripts/build-deps.sh, libjpeg-turbo, Expat, libpng and zlib from Debian's static archives;
# the C++ runtime too. The fonts are embedded in every build; this one has no fontconfig.
set(SLIDESHOW_DEPS_DIR /var/cache/slideshow-deps/linux CACHE PATH
    "Where scripts/build-deps.sh put the static libraries")
if(NOT EXISTS ${SLIDESHOW_DEPS_DIR}/lib/libSDL2.a OR NOT EXISTS ${SLIDESHOW_DEPS_DIR}/lib/libfreetype.a)
  message(FATAL_ERROR "No static SDL2 and FreeType in ${SLIDESHOW_DEPS_DIR}: run scripts/build-deps.sh first")
endif()

set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
# Stripped, and only the functions it calls: the viewer travels in every collection file.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-static-libstdc++ -static-libgcc -s -Wl,--gc-sections)

find_package(Threads REQUIRED)
find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)
find_package(EXPAT REQUIRED)
find_package(PNG REQUIRED)

find_library(SLIDESHOW_SDL2_A SDL2 PATHS ${SLIDESHOW_DEPS_DIR}/lib NO_DEFAULT_PATH REQUIRED)
add_library(PkgConfig::SDL2 INTERFACE IMPORTED)
target_include_directories(PkgConfig::SDL2 INTERFACE ${SLIDESHOW_DEPS_DIR}/include/SDL2)
target_compile_definitions(PkgConfig::SDL2 INTERFACE _REENTRANT)
target_link_libraries(PkgConfig::SDL2 INTERFACE ${SLIDESHOW_SDL2_A} Threads::Threads m rt
                      ${CMAKE_DL_LIBS})

find_library(SLIDESHOW_DEPS_FREETYPE_A freetype PATHS ${SLIDESHOW_DEPS_DIR}/lib NO_DEFAULT_PATH REQUIRED)
add_library(PkgConfig::FREETYPE INTERFACE IMPORTED)
target_include_directories(PkgConfig::FREETYPE INTERFACE ${SLIDESHOW_DEPS_DIR}/include/freetype2)
target_link_libraries(PkgConfig::FREETYPE INTERFACE ${SLIDESHOW_DEPS_FREETYPE_A} ZLIB::ZLIB m)
