# Shared build rules of the suite.

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
# A GoogleTest executable whose cases ctest runs one by one, headless,
# each in a private temporary home so that no test touches the user's state.
# The test main sets TAVRINEL_BIN_DIR and TAVRINEL_SOURCE_DIR.
function(tavrinel_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tavrinel_test_main GTest::gtest GTest::gmock)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TAVRINEL_TEST_BIN_DIR})
  tavrinel_warnings(${name})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()

# tavrinel_benchmark(name SOURCES ... LIBS ...): a Google Benchmark program
# under build/bench. Benchmarks are run by hand, never by ctest.
function(tavrinel_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TAVRINEL_BENCH_BIN_DIR})
  tavrinel_warnings(${name})
endfunction()
