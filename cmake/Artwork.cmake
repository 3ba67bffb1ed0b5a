# The balloon window's five pictures are drawn by a small host program at
# build time: tools/artwork/balloon_art.cpp, compiled with the build
# machine's compiler (not the cross compiler) and run into artwork/.

find_program(SNAPQUILL_HOST_CXX NAMES g++ c++ NO_CMAKE_FIND_ROOT_PATH)
if(NOT SNAPQUILL_HOST_CXX)
  message(FATAL_ERROR "A host C++ compiler (g++ or c++) is needed to draw the balloon pictures")
endif()

set(SNAPQUILL_ARTWORK_DIR ${CMAKE_BINARY_DIR}/artwork)
set(SNAPQUILL_ARTWORK_TOOL ${SNAPQUILL_ARTWORK_DIR}/balloon_art)
set(SNAPQUILL_ARTWORK_BITMAPS
  ${SNAPQUILL_ARTWORK_DIR}/IDB_BALLOON_ERROR.bmp
  ${SNAPQUILL_ARTWORK_DIR}/IDB_BALLOON_INFO.bmp
  ${SNAPQUILL_ARTWORK_DIR}/IDB_BALLOON_WARNING.bmp
  ${SNAPQUILL_ARTWORK_DIR}/IDB_BUTTON_CLOSE_INACTIVE.bmp
  ${SNAPQUILL_ARTWORK_DIR}/IDB_BUTTON_CLOSE_ACTIVE.bmp
)
# The same five at 150 % and 200 %.
foreach(picture IDB_BALLOON_ERROR IDB_BALLOON_INFO IDB_BALLOON_WARNING IDB_BUTTON_CLOSE_INACTIVE
        IDB_BUTTON_CLOSE_ACTIVE)
  list(APPEND SNAPQUILL_ARTWORK_BITMAPS ${SNAPQUILL_ARTWORK_DIR}/${picture}_150.bmp
       ${SNAPQUILL_ARTWORK_DIR}/${picture}_200.bmp)
endforeach()

add_custom_command(
  OUTPUT ${SNAPQUILL_ARTWORK_TOOL}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SNAPQUILL_ARTWORK_DIR}
  COMMAND ${SNAPQUILL_HOST_CXX} -std=c++17 -O1 -o ${SNAPQUILL_ARTWORK_TOOL}
          ${PROJECT_SOURCE_DIR}/tools/artwork/balloon_art.cpp
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/artwork/balloon_art.cpp
  COMMENT "Building the balloon picture generator"
  VERBATIM)

add_custom_command(
  OUTPUT ${SNAPQUILL_ARTWORK_BITMAPS}
  COMMAND ${SNAPQUILL_ARTWORK_TOOL} ${SNAPQUILL_ARTWORK_DIR}
  DEPENDS ${SNAPQUILL_ARTWORK_TOOL}
  COMMENT "Drawing the balloon pictures"
  VERBATIM)

# The skin's bitmaps: every entry of resources/skin/bitmaps.txt is an SVG
# file that rsvg-convert renders at the bitmap's exact size; the host tool
# tools/artwork/skin_art.cpp turns the renderings into BMP files of the
# listed depth, stores them deflated as resources, and writes
# artwork/skin.rc and artwork/SkinBitmaps.h. Besides the 100 per cent set,
# every picture is drawn again for the display scales below: each frame
# scale.Length(designed) in both directions, rendered with the pixel
# patterns hidden (the tool paints them by whole pixels). Other scales are
# derived from these at run time. Whole sets at 250 and 300 per cent would
# take the program over 2 MB: there only the pictures with pixel patterns
# (and those drawn over them) have sets of their own, since stripes
# resampled from 200 would blur and fall out of step with the form's tile;
# the rest are derived from 200.
set(SNAPQUILL_PICTURE_SETS 125 150 175 200)
set(SNAPQUILL_PATTERN_SETS 250 300)
find_program(SNAPQUILL_RSVG_CONVERT NAMES rsvg-convert NO_CMAKE_FIND_ROOT_PATH)
if(NOT SNAPQUILL_RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert (Debian package librsvg2-bin) is needed to draw the skin bitmaps")
endif()

set(SNAPQUILL_SKIN_SOURCE_DIR ${PROJECT_SOURCE_DIR}/resources/skin)
set(SNAPQUILL_SKIN_MANIFEST ${SNAPQUILL_SKIN_SOURCE_DIR}/bitmaps.txt)
set(SNAPQUILL_SKIN_PNG_DIR ${SNAPQUILL_ARTWORK_DIR}/skin-png)
set(SNAPQUILL_SKIN_TOOL ${SNAPQUILL_ARTWORK_DIR}/skin_art)
set(SNAPQUILL_SKIN_RC ${SNAPQUILL_ARTWORK_DIR}/skin.rc)
set(SNAPQUILL_SKIN_HEADER ${SNAPQUILL_ARTWORK_DIR}/SkinBitmaps.h)
set(SNAPQUILL_SKIN_HIDE_PATTERNS ${PROJECT_SOURCE_DIR}/tools/artwork/hide_patterns.css)
set(SNAPQUILL_SKIN_TOOL_SOURCES
  ${PROJECT_SOURCE_DIR}/tools/artwork/skin_art.cpp
  ${PROJECT_SOURCE_DIR}/tools/artwork/skin_bmp.cpp
  ${PROJECT_SOURCE_DIR}/tools/artwork/skin_manifest.cpp
  ${PROJECT_SOURCE_DIR}/tools/artwork/skin_palette.cpp
  ${PROJECT_SOURCE_DIR}/tools/artwork/skin_patterns.cpp
  ${PROJECT_SOURCE_DIR}/tools/artwork/skin_png.cpp
  ${PROJECT_SOURCE_DIR}/core/DisplayScale.cpp
  ${PROJECT_SOURCE_DIR}/core/PackedPicture.cpp
  ${PROJECT_SOURCE_DIR}/core/PictureScaling.cpp
)
set(SNAPQUILL_SKIN_TOOL_HEADERS
  ${PROJECT_SOURCE_DIR}/tools/artwork/skin_bmp.h
  ${PROJECT_SOURCE_DIR}/tools/artwork/skin_image.h
  ${PROJECT_SOURCE_DIR}/tools/artwork/skin_manifest.h
  ${PROJECT_SOURCE_DIR}/tools/artwork/skin_palette.h
  ${PROJECT_SOURCE_DIR}/tools/artwork/skin_patterns.h
  ${PROJECT_SOURCE_DIR}/core/DisplayScale.h
  ${PROJECT_SOURCE_DIR}/core/PackedPicture.h
  ${PROJECT_SOURCE_DIR}/core/PictureScaling.h
)

add_custom_command(
  OUTPUT ${SNAPQUILL_SKIN_TOOL}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SNAPQUILL_ARTWORK_DIR}
  COMMAND ${SNAPQUILL_HOST_CXX} -std=c++20 -O1 -I${PROJECT_SOURCE_DIR} -o ${SNAPQUILL_SKIN_TOOL}
          ${SNAPQUILL_SKIN_TOOL_SOURCES} -lpng -lz
  DEPENDS ${SNAPQUILL_SKIN_TOOL_SOURCES} ${SNAPQUILL_SKIN_TOOL_HEADERS}
  COMMENT "Building the skin bitmap generator"
  VERBATIM)

# A designed length at a display scale, as TDisplayScale::Length has it:
# halves round up and nothing vanishes.
function(snapquill_scaled_length out designed percent)
  math(EXPR dpi "96 * ${percent} / 100")
  math(EXPR length "(${designed} * ${dpi} * 2 + 96) / 192")
  if(length LESS 1)
    set(length 1)
  endif()
  set(${out} ${length} PARENT_SCOPE)
endfunction()

# A changed list re-runs the configuration, so new entries get their commands.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${SNAPQUILL_SKIN_MANIFEST})
file(STRINGS ${SNAPQUILL_SKIN_MANIFEST} _skin_lines REGEX "^[ \t]*[A-Za-z]")
set(SNAPQUILL_SKIN_BITMAPS)
set(_skin_pngs)
set(_patterned)
foreach(_line IN LISTS _skin_lines)
  if(NOT _line MATCHES "^[ \t]*([A-Za-z0-9_]+)[ \t]+([0-9]+)[ \t]+([0-9]+)[ \t]+[0-9]+[ \t]+([0-9]+)[ \t]+([^ \t#]+)")
    message(FATAL_ERROR "resources/skin/bitmaps.txt: cannot read the line: ${_line}")
  endif()
  set(_name ${CMAKE_MATCH_1})
  set(_width ${CMAKE_MATCH_2})
  set(_height ${CMAKE_MATCH_3})
  set(_frames ${CMAKE_MATCH_4})
  set(_svg ${SNAPQUILL_SKIN_SOURCE_DIR}/${CMAKE_MATCH_5})
  set(_png ${SNAPQUILL_SKIN_PNG_DIR}/${_name}.png)
  add_custom_command(
    OUTPUT ${_png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SNAPQUILL_SKIN_PNG_DIR}
    COMMAND ${SNAPQUILL_RSVG_CONVERT} -w ${_width} -h ${_height} ${_svg} -o ${_png}
    DEPENDS ${_svg}
    COMMENT "Rendering ${_name}"
    VERBATIM)
  list(APPEND _skin_pngs ${_png})
  list(APPEND SNAPQUILL_SKIN_BITMAPS ${SNAPQUILL_ARTWORK_DIR}/skin/${_name}.bmp ${SNAPQUILL_ARTWORK_DIR}/skin/${_name}.sqp)
  math(EXPR _frame_width "${_width} / ${_frames}")
  set(_sets ${SNAPQUILL_PICTURE_SETS})
  file(READ ${_svg} _svg_text)
  if(_svg_text MATCHES "class=\"pattern" OR (_line MATCHES "over=([A-Za-z0-9_]+)@" AND CMAKE_MATCH_1 IN_LIST _patterned))
    list(APPEND _patterned ${_name})
    list(APPEND _sets ${SNAPQUILL_PATTERN_SETS})
  endif()
  foreach(_percent IN LISTS _sets)
    snapquill_scaled_length(_scaled_frame ${_frame_width} ${_percent})
    snapquill_scaled_length(_scaled_height ${_height} ${_percent})
    math(EXPR _scaled_width "${_scaled_frame} * ${_frames}")
    set(_scaled_png ${SNAPQUILL_SKIN_PNG_DIR}/${_percent}/${_name}.png)
    add_custom_command(
      OUTPUT ${_scaled_png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${SNAPQUILL_SKIN_PNG_DIR}/${_percent}
      COMMAND ${SNAPQUILL_RSVG_CONVERT} -s ${SNAPQUILL_SKIN_HIDE_PATTERNS} -w ${_scaled_width} -h ${_scaled_height}
              ${_svg} -o ${_scaled_png}
      DEPENDS ${_svg} ${SNAPQUILL_SKIN_HIDE_PATTERNS}
      COMMENT "Rendering ${_name} at ${_percent} %"
      VERBATIM)
    list(APPEND _skin_pngs ${_scaled_png})
    list(APPEND SNAPQUILL_SKIN_BITMAPS ${SNAPQUILL_ARTWORK_DIR}/skin${_percent}/${_name}.sqp)
  endforeach()
endforeach()

add_custom_command(
  OUTPUT ${SNAPQUILL_SKIN_BITMAPS} ${SNAPQUILL_SKIN_RC} ${SNAPQUILL_SKIN_HEADER}
  COMMAND ${SNAPQUILL_SKIN_TOOL} ${SNAPQUILL_SKIN_MANIFEST} ${SNAPQUILL_SKIN_PNG_DIR} ${SNAPQUILL_ARTWORK_DIR}
          ${SNAPQUILL_PICTURE_SETS} --patterns ${SNAPQUILL_PATTERN_SETS}
  DEPENDS ${SNAPQUILL_SKIN_TOOL} ${SNAPQUILL_SKIN_MANIFEST} ${_skin_pngs}
  COMMENT "Drawing the skin bitmaps"
  VERBATIM)

add_custom_target(artwork DEPENDS ${SNAPQUILL_ARTWORK_BITMAPS} ${SNAPQUILL_SKIN_BITMAPS}
                          ${SNAPQUILL_SKIN_RC} ${SNAPQUILL_SKIN_HEADER})

# Every skin bitmap enlarged 4x, labelled and grouped by style, in one PNG
# per picture set:
#   cmake --build <tree> --target contact_sheet
# writes <tree>/artwork/skin-contact-sheet.png (100 per cent) and
# skin-contact-sheet-PERCENT.png (needs ImageMagick).
set(_sheet_commands COMMAND bash ${PROJECT_SOURCE_DIR}/tools/artwork/contact_sheet.sh ${SNAPQUILL_SKIN_MANIFEST}
    ${SNAPQUILL_ARTWORK_DIR}/skin ${SNAPQUILL_ARTWORK_DIR}/skin-contact-sheet.png)
foreach(_percent IN LISTS SNAPQUILL_PICTURE_SETS)
  list(APPEND _sheet_commands COMMAND bash ${PROJECT_SOURCE_DIR}/tools/artwork/contact_sheet.sh
       ${SNAPQUILL_SKIN_MANIFEST} ${SNAPQUILL_ARTWORK_DIR}/skin${_percent}
       ${SNAPQUILL_ARTWORK_DIR}/skin-contact-sheet-${_percent}.png)
endforeach()
add_custom_target(contact_sheet ${_sheet_commands} DEPENDS ${SNAPQUILL_SKIN_BITMAPS} VERBATIM)

# The program icon: resources/icon/snapquill.svg rendered at 16, 20, 24, 32,
# 40, 48 and 256 px (the small and large icon sizes of 100 to 250 per cent)
# and packed by tools/artwork/icon_pack.cpp into artwork/snapquill.ico, the
# resource MAINICON of snapquill.rc.
set(SNAPQUILL_ICON_SVG ${PROJECT_SOURCE_DIR}/resources/icon/snapquill.svg)
set(SNAPQUILL_ICON_TOOL ${SNAPQUILL_ARTWORK_DIR}/icon_pack)
set(SNAPQUILL_ICON ${SNAPQUILL_ARTWORK_DIR}/snapquill.ico)
set(SNAPQUILL_ICON_PNG_DIR ${SNAPQUILL_ARTWORK_DIR}/icon-png)

add_custom_command(
  OUTPUT ${SNAPQUILL_ICON_TOOL}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SNAPQUILL_ARTWORK_DIR}
  COMMAND ${SNAPQUILL_HOST_CXX} -std=c++17 -O1 -o ${SNAPQUILL_ICON_TOOL}
          ${PROJECT_SOURCE_DIR}/tools/artwork/icon_pack.cpp ${PROJECT_SOURCE_DIR}/tools/artwork/skin_png.cpp -lpng -lz
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/artwork/icon_pack.cpp ${PROJECT_SOURCE_DIR}/tools/artwork/skin_png.cpp
          ${PROJECT_SOURCE_DIR}/tools/artwork/skin_image.h
  COMMENT "Building the icon packer"
  VERBATIM)

set(_icon_render_commands)
set(_icon_pngs)
foreach(_size 16 20 24 32 40 48 256)
  list(APPEND _icon_render_commands COMMAND ${SNAPQUILL_RSVG_CONVERT} -w ${_size} -h ${_size}
       ${SNAPQUILL_ICON_SVG} -o ${SNAPQUILL_ICON_PNG_DIR}/${_size}.png)
  list(APPEND _icon_pngs ${SNAPQUILL_ICON_PNG_DIR}/${_size}.png)
endforeach()
add_custom_command(
  OUTPUT ${SNAPQUILL_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SNAPQUILL_ICON_PNG_DIR}
  ${_icon_render_commands}
  COMMAND ${SNAPQUILL_ICON_TOOL} ${SNAPQUILL_ICON} ${_icon_pngs}
  DEPENDS ${SNAPQUILL_ICON_TOOL} ${SNAPQUILL_ICON_SVG}
  COMMENT "Drawing the program icon"
  VERBATIM)
add_custom_target(program_icon DEPENDS ${SNAPQUILL_ICON})
add_dependencies(artwork program_icon)

# The version resource's numbers, from the project's version, beside the
# artwork on the resource compiler's include path.
configure_file(${PROJECT_SOURCE_DIR}/cmake/Version.h.in ${SNAPQUILL_ARTWORK_DIR}/Version.h @ONLY)

# What the program's resource script includes besides the bitmaps.
set(SNAPQUILL_RESOURCE_DEPENDS ${SNAPQUILL_ICON} ${SNAPQUILL_ARTWORK_DIR}/Version.h
  ${PROJECT_SOURCE_DIR}/resources/version.rc)
