# zlib, libjpeg and GoogleTest for the build at hand. The MinGW build finds
# libjpeg and GoogleTest in the prefix that tools/setup.sh fills.

if(WIN32)
  set(SNAPQUILL_MINGW_DEPS "${CMAKE_BINARY_DIR}/../deps/mingw" CACHE PATH "MinGW dependency prefix")
  # A normalised path: find_* compare it with the find root as text.
  get_filename_component(SNAPQUILL_MINGW_DEPS "${SNAPQUILL_MINGW_DEPS}" ABSOLUTE)
  list(APPEND CMAKE_FIND_ROOT_PATH "${SNAPQUILL_MINGW_DEPS}")
  list(APPEND CMAKE_PREFIX_PATH "${SNAPQUILL_MINGW_DEPS}")
  # Static runtime: snapquill.exe and the tests need no MinGW DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Test programs run under Wine through the project's runner.
  set(SNAPQUILL_WINE_RUN "${PROJECT_SOURCE_DIR}/tools/wine-run" --state "${CMAKE_BINARY_DIR}/wine")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SNAPQUILL_WINE_RUN})
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
  find_library(ZLIB_LIBRARY NAMES libz.a z REQUIRED)
  find_path(ZLIB_INCLUDE_DIR zlib.h REQUIRED)
  find_library(JPEG_LIBRARY NAMES libjpeg.a jpeg REQUIRED)
  find_path(JPEG_INCLUDE_DIR jpeglib.h PATHS "${SNAPQUILL_MINGW_DEPS}/include"
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  add_library(ZLIB::ZLIB STATIC IMPORTED)
  set_target_properties(ZLIB::ZLIB PROPERTIES IMPORTED_LOCATION "${ZLIB_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${ZLIB_INCLUDE_DIR}")
  add_library(JPEG::JPEG STATIC IMPORTED)
  set_target_properties(JPEG::JPEG PROPERTIES IMPORTED_LOCATION "${JPEG_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${JPEG_INCLUDE_DIR}")
else()
  find_package(ZLIB REQUIRED)
  find_package(JPEG REQUIRED)
  find_package(PNG REQUIRED)
endif()

find_package(GTest REQUIRED)
find_package(Threads REQUIRED)
