# The fonts the program draws with, taken from Debian's font packages at build time and linked
# into the executable gzip-compressed (with their licence texts), so the viewer draws the same
# text on every desktop and stays small. The faces are metric-compatible with the ones the program's layouts were made for:
#   Tahoma (Wine's, fonts-wine)           the icon-title font: buttons, links, list, texts
#   Liberation Sans (fonts-liberation2)   "MS Sans Serif" of the dialog templates, Arial
#   DejaVu Sans (fonts-dejavu-core)       "Verdana" and every other face name
set(SLIDESHOW_FONT_DIRS /usr/share/fonts/truetype/dejavu /usr/share/fonts/truetype/liberation2
    /usr/share/fonts/truetype/liberation /usr/share/wine/fonts)
set(slideshow_fonts
  "Tahoma|0|tahoma.ttf"
  "Tahoma|1|tahomabd.ttf"
  "Liberation Sans|0|LiberationSans-Regular.ttf"
  "DejaVu Sans|0|DejaVuSans.ttf"
  "DejaVu Sans|1|DejaVuSans-Bold.ttf")
set(slideshow_font_licences
  /usr/share/doc/fonts-wine/copyright
  /usr/share/common-licenses/LGPL-2.1
  /usr/share/doc/fonts-liberation2/copyright
  /usr/share/doc/fonts-dejavu-core/copyright)

# slideshow_embed_fonts(TARGET): adds the generated source that carries the fonts to TARGET.
function(slideshow_embed_fonts target)
  set(asm "")
  set(entries "")
  set(files "")
  set(index 0)
  foreach(font IN LISTS slideshow_fonts)
    string(REPLACE "|" ";" parts "${font}")
    list(GET parts 0 family)
    list(GET parts 1 bold)
    list(GET parts 2 name)
    unset(path)
    # Fonts are the build machine's files, also when cross-compiling.
    find_file(path ${name} PATHS ${SLIDESHOW_FONT_DIRS} NO_DEFAULT_PATH NO_CACHE NO_CMAKE_FIND_ROOT_PATH)
    if(NOT path)
      message(FATAL_ERROR "Font ${name} not found in ${SLIDESHOW_FONT_DIRS}: run scripts/install-deps.sh")
    endif()
    set(packed ${CMAKE_CURRENT_BINARY_DIR}/fonts/${name}.gz)
    if(NOT EXISTS ${packed} OR ${path} IS_NEWER_THAN ${packed})
      file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/fonts)
      file(ARCHIVE_CREATE OUTPUT ${packed} PATHS ${path} FORMAT raw COMPRESSION GZip
           COMPRESSION_LEVEL 9)
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
    list(APPEND files ${packed})
    string(APPEND asm "INCBIN(g_abFont${index}, \"${packed}\")\n")
    string(APPEND entries "    {\"${family}\", ${bold}, g_abFont${index}, g_abFont${index}_end},\n")
    math(EXPR index "${index} + 1")
  endforeach()
  set(licences "")
  foreach(path IN LISTS slideshow_font_licences)
    if(NOT EXISTS ${path})
      message(FATAL_ERROR "Font licence ${path} not found: run scripts/install-deps.sh")
    endif()
    list(APPEND files ${path})
    string(APPEND asm "INCBIN(g_abLicence${index}, \"${path}\")\n")
    string(APPEND licences "    {g_abLicence${index}, g_abLicence${index}_end},\n")
    math(EXPR index "${index} + 1")
  endforeach()
  set(output ${CMAKE_CURRENT_BINARY_DIR}/EmbeddedFontData.cpp)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/EmbeddedFontData.cpp.in ${output} @ONLY)
  target_sources(${target} PRIVATE ${output})
  # The assembler reads the font files; the build must know they are inputs.
  set_source_files_properties(${output} PROPERTIES OBJECT_DEPENDS "${files}")
endfunction()
