# Shared build rules of the suite.

set(TAVRINEL_TEST_SUITES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/TestSuites.cmake)

# Warnings as errors on our own code.
function(tavrinel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# tavrinel_library(name SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# A static library whose public headers live in <folder>/include.
function(tavrinel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include
                                     PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  tavrinel_warnings(${name})
endfunction()

# tavrinel_test(name SOURCES ... LIBS ...)
# A GoogleTest executable, run headless by ctest one process per suite (the
# ctest test is named NAME.Suite: `ctest -R Suite`), each in a
# private temporary home so that no test touches the user's state. Every
# program must therefore pass when run whole: a case puts back what it
# changes in the process. The test main sets TAVRINEL_BIN_DIR and
# TAVRINEL_SOURCE_DIR.
function(tavrinel_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} EXCLUDE_FROM_ALL ${ARG_SOURCES})
  set_property(GLOBAL APPEND PROPERTY TAVRINEL_CHECKS ${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tavrinel_test_main GTest::gtest GTest::gmock)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TAVRINEL_TEST_BIN_DIR})
  tavrinel_warnings(${name})
  # The suites are read from the program when ctest starts, and again only
  # after the program was rebuilt.
  set(suites_file "${CMAKE_CURRENT_BINARY_DIR}/${name}_suites.cmake")
  file(GENERATE OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/${name}_include.cmake" CONTENT
"if(EXISTS [==[$<TARGET_FILE:${name}>]==])
  if(NOT EXISTS [==[${suites_file}]==] OR
     NOT [==[${suites_file}]==] IS_NEWER_THAN [==[$<TARGET_FILE:${name}>]==] OR
     NOT [==[${suites_file}]==] IS_NEWER_THAN [==[${TAVRINEL_TEST_SUITES_SCRIPT}]==])
    set(TEST_EXECUTABLE [==[$<TARGET_FILE:${name}>]==])
    set(CTEST_FILE [==[${suites_file}]==])
    set(TEST_TARGET [==[${name}]==])
    include([==[${TAVRINEL_TEST_SUITES_SCRIPT}]==])
  endif()
  include([==[${suites_file}]==])
else()
  add_test([==[${name}_NOT_BUILT]==] [==[${name}_NOT_BUILT]==])
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
    "${CMAKE_CURRENT_BINARY_DIR}/${name}_include.cmake")
endfunction()

# tavrinel_display_test(name TEST test [WM_TEST test] SCREEN WxH SOURCES ... LIBS ...)
# A GoogleTest executable run whole on a real X server of its own:
# ctest test TEST runs it bare; WM_TEST, when given, runs it again under the
# openbox window manager, which the test starts when TAVRINEL_TEST_WM says so.
function(tavrinel_display_test name)
  cmake_parse_arguments(ARG "" "TEST;WM_TEST;SCREEN" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} EXCLUDE_FROM_ALL ${ARG_SOURCES})
  set_property(GLOBAL APPEND PROPERTY TAVRINEL_CHECKS ${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tavrinel_test_main GTest::gtest)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TAVRINEL_TEST_BIN_DIR})
  tavrinel_warnings(${name})
  set(run ${CMAKE_SOURCE_DIR}/tests/scripts/on_own_x.sh ${ARG_SCREEN} $<TARGET_FILE:${name}>)
  add_test(NAME ${ARG_TEST} COMMAND ${run})
  set_tests_properties(${ARG_TEST} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=xcb)
  if(ARG_WM_TEST)
    add_test(NAME ${ARG_WM_TEST} COMMAND ${run})
    set_tests_properties(${ARG_WM_TEST} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=xcb;TAVRINEL_TEST_WM=openbox")
  endif()
endfunction()

# tavrinel_benchmark(name SOURCES ... LIBS ...): a Google Benchmark program
# under build/bench. Benchmarks are run by hand, never by ctest.
function(tavrinel_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} EXCLUDE_FROM_ALL ${ARG_SOURCES})
  set_property(GLOBAL APPEND PROPERTY TAVRINEL_CHECKS ${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TAVRINEL_BENCH_BIN_DIR})
  tavrinel_warnings(${name})
endfunction()

# tavrinel_soname(VAR NAME [HINTS...])
# The name library NAME (as given to -l) is opened by at run time, its
# SONAME, for the libraries a program opens only once it needs them.
function(tavrinel_soname var name)
  find_library(TAVRINEL_LIBRARY_${name} NAMES ${name} HINTS ${ARGN} REQUIRED)
  execute_process(COMMAND ${CMAKE_OBJDUMP} -p ${TAVRINEL_LIBRARY_${name}}
                  OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
  string(REGEX MATCH "SONAME +([^ \n]+)" found "${dump}")
  if(failed OR NOT CMAKE_MATCH_1)
    message(FATAL_ERROR "cannot read the SONAME of ${TAVRINEL_LIBRARY_${name}}")
  endif()
  set(${var} ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()
