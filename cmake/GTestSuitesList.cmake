# Run by CTest before the tests (see GTestSuites.cmake): lists the suites of
# one GoogleTest program and writes one test per suite (per case when
# ISOLATED) into OUTPUT.

# Quotes a value for a CMake script as a bracket argument.
function(kv_bracket value result)
  set(equals "=")
  while(value MATCHES "]${equals}]")
    string(APPEND equals "=")
  endwhile()
  set(${result} "[${equals}[${value}]${equals}]" PARENT_SCOPE)
endfunction()

function(kv_list_gtest_suites)
  cmake_parse_arguments(A "" "NAME;PROGRAM;WORKING_DIRECTORY;PREFIX;ISOLATED;RUNNER;OUTPUT"
    "EXECUTOR;PROPERTIES" ${ARGN})
  list(REMOVE_ITEM A_EXECUTOR "")
  execute_process(
    COMMAND ${A_EXECUTOR} ${A_PROGRAM} --gtest_list_tests
    WORKING_DIRECTORY ${A_WORKING_DIRECTORY}
    TIMEOUT 120
    OUTPUT_VARIABLE listing
    ERROR_VARIABLE listing
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    # A test that lists again shows the failure in the run's output and
    # summary; nothing is written, so the next run lists again.
    add_test(${A_PREFIX}${A_NAME}.list ${A_EXECUTOR} ${A_PROGRAM} --gtest_list_tests)
    return()
  endif()

  # Suite lines start in the first column ("Suite." or, for typed tests,
  # "Suite/0.  # TypeParam = ..."); their cases follow indented.
  string(REPLACE "\r" "" listing "${listing}")
  string(REPLACE ";" "\\;" listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  set(command "")
  foreach(part IN LISTS A_EXECUTOR A_PROGRAM)
    kv_bracket("${part}" quoted)
    string(APPEND command " ${quoted}")
  endforeach()
  set(properties "")
  foreach(part IN LISTS A_PROPERTIES)
    kv_bracket("${part}" quoted)
    string(APPEND properties " ${quoted}")
  endforeach()
  kv_bracket("${A_WORKING_DIRECTORY}" directory)
  kv_bracket("${A_RUNNER}" runner)
  set(script "")
  set(suite "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^([^ #][^ ]*)\\.( *#.*)?$")
      set(suite ${CMAKE_MATCH_1})
      if(A_ISOLATED)
        continue()
      endif()
      kv_bracket("${A_PREFIX}${suite}" test)
      kv_bracket("${suite}" filter)
      string(APPEND script "add_test(${test} sh ${runner} ${filter}${command})\n")
    elseif(A_ISOLATED AND NOT suite STREQUAL "" AND line MATCHES "^  ([^ ]+)")
      set(case "${suite}.${CMAKE_MATCH_1}")
      kv_bracket("${A_PREFIX}${case}" test)
      kv_bracket("--gtest_filter=${case}" filter)
      string(APPEND script "add_test(${test}${command} ${filter})\n")
    else()
      continue()
    endif()
    string(APPEND script
      "set_tests_properties(${test} PROPERTIES WORKING_DIRECTORY ${directory}${properties})\n")
    # gtest leaves out disabled cases; CTest shows a disabled suite as disabled.
    if(suite MATCHES "^DISABLED_" OR line MATCHES "^  DISABLED_")
      string(APPEND script "set_tests_properties(${test} PROPERTIES DISABLED TRUE)\n")
    endif()
  endforeach()
  file(WRITE ${A_OUTPUT} "${script}")
endfunction()
