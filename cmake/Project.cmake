# Shared helpers for the project's targets.

# Our own code builds warning-free with these; third-party code is not given them.
function(clarivo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wconversion)
  if(CLARIVO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# clarivo_library(name SOURCES ... [LIBS ...]): a static library of the project, rooted at the source tree.
function(clarivo_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  clarivo_warnings(${name})
endfunction()

# clarivo_test(name SOURCES ... [LIBS ...] [GUI] [OWN_MAIN]): a GoogleTest executable registered with CTest.
# OWN_MAIN: the sources bring their own main (for suites that set up an application first).
# Windows test executables run under Wine (the toolchain's emulator); GUI ones need the display that
# scripts/test.sh provides, and are labelled so they can be picked out.
function(clarivo_test name)
  cmake_parse_arguments(ARG "GUI;OWN_MAIN" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  endif()
  clarivo_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
  if(ARG_GUI)
    # GUI suites share one display, and with it the mouse pointer and the focus: never two at a time.
    set_tests_properties(${name} PROPERTIES LABELS gui RESOURCE_LOCK display)
  endif()
endfunction()
