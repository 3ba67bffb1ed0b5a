# The MinGW build's tests run under Wine: ctest starts each test program
# through tools/wine-run (the cross-compiling emulator), which brings up a project-owned prefix and a virtual
# display on first use. The fixture "wine" stops them at the end of the run.

# SNAPQUILL_WINE_RUN is the emulator set up in Dependencies.cmake.

add_test(NAME ${SNAPQUILL_TEST_PREFIX}wine.start COMMAND ${SNAPQUILL_WINE_RUN} --start)
add_test(NAME ${SNAPQUILL_TEST_PREFIX}wine.stop COMMAND ${SNAPQUILL_WINE_RUN} --stop)
set_tests_properties(${SNAPQUILL_TEST_PREFIX}wine.start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(${SNAPQUILL_TEST_PREFIX}wine.stop PROPERTIES FIXTURES_CLEANUP wine)

# A Win32 test program. SCREEN16 also runs it on a 16-bit screen; DESKTOP
# marks tests that send input or hold hotkeys, which must not overlap;
# TWO_MONITORS runs it only on the display with two monitors; DPIS lists
# display scales (dots per inch) it also runs at, each on a prefix of its own.
function(snapquill_wine_test name)
  cmake_parse_arguments(T "SCREEN16;DESKTOP;TWO_MONITORS" "" "SOURCES;LIBS;DPIS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  set(depths 32)
  if(T_SCREEN16)
    list(APPEND depths 16)
  endif()
  foreach(depth ${depths})
    set(test ${SNAPQUILL_TEST_PREFIX}${name})
    if(depth EQUAL 16)
      set(test ${test}.screen16)
    endif()
    add_test(NAME ${test} COMMAND ${name})
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED wine
      ENVIRONMENT "SNAPQUILL_SCREEN_DEPTH=${depth}" TIMEOUT 300)
    if(T_DESKTOP)
      set_tests_properties(${test} PROPERTIES RESOURCE_LOCK desktop-${depth})
    endif()
    if(T_TWO_MONITORS)
      set_tests_properties(${test} PROPERTIES ENVIRONMENT "SNAPQUILL_MONITORS=2" RESOURCE_LOCK two-monitors)
    endif()
  endforeach()
  foreach(dpi ${T_DPIS})
    set(test ${SNAPQUILL_TEST_PREFIX}${name}.dpi${dpi})
    add_test(NAME ${test} COMMAND ${name})
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300
      ENVIRONMENT "SNAPQUILL_DPI=${dpi}" RESOURCE_LOCK desktop-dpi${dpi})
  endforeach()
endfunction()
