# One CTest test per GoogleTest suite of a test program:
#
#   kv_gtest_suites(TARGET t [PREFIX p] [ISOLATED] [EXECUTOR cmd...]
#                   [PROPERTIES ...])
#
# Each test runs the suite's cases in one process (scripts/gtest-suite.sh), so
# the program starts once per suite instead of once per case (under Wine each
# start costs about half a second); the failing cases are named in the test's
# output. ISOLATED programs, whose cases rely on a process of their own, get
# one test per case ("Suite.Case") instead.
#
# The suites are listed just before the tests run (as PRE_TEST discovery does),
# in the test environment, and listed again only when the program was rebuilt.
set(KV_GTEST_SUITES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/GTestSuitesList.cmake)

function(kv_gtest_suites)
  cmake_parse_arguments(A "ISOLATED" "TARGET;PREFIX" "EXECUTOR;PROPERTIES" ${ARGN})
  set(base ${CMAKE_CURRENT_BINARY_DIR}/${A_TARGET})
  set(suites_file ${base}_suites.cmake)
  set(include_file ${base}_include.cmake)
  # Arguments are written as bracket arguments so that paths and properties
  # (regular expressions, lists) reach the script unchanged.
  string(REPLACE ";" "]==] [==[" executor "${A_EXECUTOR}")
  string(REPLACE ";" "]==] [==[" properties "${A_PROPERTIES}")
  file(GENERATE OUTPUT ${include_file} CONTENT
"set(program [==[$<TARGET_FILE:${A_TARGET}>]==])
if(EXISTS \"\${program}\")
  if(NOT EXISTS [==[${suites_file}]==] OR
     NOT [==[${suites_file}]==] IS_NEWER_THAN \"\${program}\" OR
     NOT [==[${suites_file}]==] IS_NEWER_THAN \"\${CMAKE_CURRENT_LIST_FILE}\")
    include([==[${KV_GTEST_SUITES_SCRIPT}]==])
    kv_list_gtest_suites(
      NAME [==[${A_TARGET}]==]
      PROGRAM \"\${program}\"
      EXECUTOR [==[${executor}]==]
      WORKING_DIRECTORY [==[${CMAKE_CURRENT_BINARY_DIR}]==]
      PREFIX [==[${A_PREFIX}]==]
      ISOLATED [==[${A_ISOLATED}]==]
      RUNNER [==[${CMAKE_SOURCE_DIR}/scripts/gtest-suite.sh]==]
      PROPERTIES [==[${properties}]==]
      OUTPUT [==[${suites_file}]==])
  endif()
  include([==[${suites_file}]==] OPTIONAL)
else()
  add_test([==[${A_PREFIX}${A_TARGET}_NOT_BUILT]==] [==[${A_TARGET}_NOT_BUILT]==])
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()
