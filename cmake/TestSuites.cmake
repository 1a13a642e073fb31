# Run by ctest before it runs anything: lists the cases of one GoogleTest
# program and registers one ctest test per suite, each a process of its own
# that runs the whole suite. A process per case would start Qt, a private
# home and the program's forms hundreds of times over for nothing; a process
# per suite still lets ctest spread the work over every core.
#
# Inputs (-D or set before include): TEST_EXECUTABLE, CTEST_FILE,
# TEST_TARGET.

function(tavrinel_write_suites)
  execute_process(
    COMMAND "${TEST_EXECUTABLE}" --gtest_list_tests
    RESULT_VARIABLE result
    OUTPUT_VARIABLE listing
    ERROR_VARIABLE errors
    TIMEOUT 60)
  if(NOT result EQUAL 0)
    # A program that cannot even list its cases is one failing test, so the
    # run shows it instead of quietly running nothing.
    file(WRITE "${CTEST_FILE}"
      "add_test([==[${TEST_TARGET}_cannot_list_its_cases]==] [==[${TEST_EXECUTABLE}]==] --gtest_list_tests)\n")
    message(WARNING "${TEST_EXECUTABLE} --gtest_list_tests failed (${result}): ${errors}")
    return()
  endif()
  string(REPLACE "\n" ";" lines "${listing}")
  set(script "")
  foreach(line IN LISTS lines)
    # Suite lines start in the first column ("Suite." or "Prefix/Suite/0.  #
    # TypeParam = ..."); case lines are indented.
    if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
      set(suite "${CMAKE_MATCH_1}")
      # Named after the program too: two programs may both have a suite of
      # one name.
      set(test "${TEST_TARGET}.${suite}")
      string(APPEND script
        "add_test([==[${test}]==] [==[${TEST_EXECUTABLE}]==] [==[--gtest_filter=${suite}.*]==])\n"
        "set_tests_properties([==[${test}]==] PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen"
        " LABELS [==[${TEST_TARGET}]==])\n")
    endif()
  endforeach()
  file(WRITE "${CTEST_FILE}" "${script}")
endfunction()

tavrinel_write_suites()
