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

add_custom_target(artwork DEPENDS ${SNAPQUILL_ARTWORK_BITMAPS})
