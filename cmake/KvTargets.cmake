# Target helpers shared by every module folder.
#
#   kv_library(NAME n [PORTABLE] SOURCES ... [LIBS ...])
#   kv_test(NAME n [PORTABLE] [GUI] [ISOLATED] SOURCES ... [LIBS ...])
#   kv_fuzzer(NAME n SOURCES ... [LIBS ...] [CORPUS dir ...])
#   kv_benchmark(NAME n [NATIVE] SOURCES ... [LIBS ...])
#   kv_program(NAME n [GUI] SOURCES ... [LIBS ...])
#   kv_dll(NAME n SOURCES ... [DEF file] [LIBS ...])
#
# PORTABLE code builds in both trees; everything else only for Windows.
# A test program's cases run one suite per process; ISOLATED gives each case
# a process of its own, for programs whose cases rely on one (see
# GTestSuites.cmake). GUI tests run on a display no other test uses meanwhile
# (scripts/display-slot.sh).
# Native-only targets (fuzzers, NATIVE benchmarks) only in the native tree.

if(MSVC)
  set(KV_WARNINGS /W4 /WX /permissive- /utf-8)
else()
  set(KV_WARNINGS -Wall -Wextra -Werror)
endif()

function(kv_common_setup target)
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${target} PRIVATE ${KV_WARNINGS})
  if(WIN32)
    target_compile_definitions(${target} PUBLIC
      UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
  endif()
endfunction()

# True when a target of this kind belongs in the tree being configured.
macro(kv_wanted portable result)
  if(KV_NATIVE AND NOT ${portable})
    set(${result} FALSE)
  else()
    set(${result} TRUE)
  endif()
endmacro()

function(kv_library)
  cmake_parse_arguments(A "PORTABLE" "NAME" "SOURCES;LIBS" ${ARGN})
  kv_wanted(A_PORTABLE wanted)
  if(NOT wanted)
    return()
  endif()
  add_library(${A_NAME} STATIC ${A_SOURCES})
  kv_common_setup(${A_NAME})
  target_link_libraries(${A_NAME} PUBLIC ${A_LIBS})
endfunction()

function(kv_test)
  cmake_parse_arguments(A "PORTABLE;GUI;ISOLATED" "NAME" "SOURCES;LIBS" ${ARGN})
  kv_wanted(A_PORTABLE wanted)
  if(NOT wanted)
    return()
  endif()
  add_executable(${A_NAME} ${A_SOURCES})
  kv_common_setup(${A_NAME})
  target_link_libraries(${A_NAME} PRIVATE ${A_LIBS} GTest::gmock GTest::gtest_main)
  set(properties LABELS "$<IF:$<BOOL:${KV_NATIVE}>,native,wine>")
  set(executor ${CMAKE_CROSSCOMPILING_EMULATOR})
  if(A_GUI)
    # Window tests share the displays (one test on each at a time); they are
    # the longest, so they start first.
    set(executor ${KV_DISPLAY_RUNNER})
    list(APPEND properties COST 100)
  endif()
  # Native names are prefixed so both trees' results read apart in one summary.
  if(KV_NATIVE)
    set(prefix "native.")
  else()
    set(prefix "")
  endif()
  set(isolated "")
  if(A_ISOLATED)
    set(isolated ISOLATED)
  endif()
  kv_gtest_suites(TARGET ${A_NAME} PREFIX "${prefix}" ${isolated}
    EXECUTOR ${executor}
    PROPERTIES TIMEOUT 600 ${properties})
endfunction()

function(kv_fuzzer)
  cmake_parse_arguments(A "" "NAME" "SOURCES;LIBS;CORPUS" ${ARGN})
  if(NOT KV_NATIVE OR NOT KV_FUZZING)
    return()
  endif()
  add_executable(${A_NAME} ${A_SOURCES})
  kv_common_setup(${A_NAME})
  target_link_libraries(${A_NAME} PRIVATE ${A_LIBS})
  target_link_options(${A_NAME} PRIVATE -fsanitize=fuzzer)
  set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${A_NAME})
  set(seeds "")
  if(A_CORPUS)
    set(seeds ${A_CORPUS})
  endif()
  # A short smoke run belongs to the test suite; fuzz-long runs for real.
  add_test(NAME native.fuzz.${A_NAME}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
            $<TARGET_FILE:${A_NAME}> -max_total_time=${KV_FUZZ_SMOKE_SECONDS}
            -rss_limit_mb=2048 ${corpus} ${seeds})
  set_tests_properties(native.fuzz.${A_NAME} PROPERTIES
    LABELS "native;fuzz" TIMEOUT 300)
  file(MAKE_DIRECTORY ${corpus})
  add_custom_target(fuzz-long-${A_NAME}
    COMMAND $<TARGET_FILE:${A_NAME}> -max_total_time=${KV_FUZZ_LONG_SECONDS}
            -rss_limit_mb=2048 -print_final_stats=1 ${corpus} ${seeds}
    DEPENDS ${A_NAME} USES_TERMINAL)
  add_dependencies(fuzz-long fuzz-long-${A_NAME})
  # One line per target for scripts/campaign/fuzz.sh: name, program, then
  # the seed folders (the first one, when in the source tree, is the corpus
  # kept in the repository).
  string(REPLACE ";" " " seedList "${seeds}")
  file(APPEND ${CMAKE_BINARY_DIR}/fuzz-targets.txt
    "${A_NAME} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${A_NAME} ${seedList}\n")
endfunction()

function(kv_benchmark)
  cmake_parse_arguments(A "NATIVE" "NAME" "SOURCES;LIBS" ${ARGN})
  if(A_NATIVE AND NOT KV_NATIVE)
    return()
  endif()
  if(KV_NATIVE AND NOT A_NATIVE)
    return()
  endif()
  add_executable(${A_NAME} ${A_SOURCES})
  kv_common_setup(${A_NAME})
  target_link_libraries(${A_NAME} PRIVATE ${A_LIBS})
endfunction()

function(kv_program)
  cmake_parse_arguments(A "GUI" "NAME" "SOURCES;LIBS" ${ARGN})
  if(KV_NATIVE)
    return()
  endif()
  if(A_GUI)
    add_executable(${A_NAME} WIN32 ${A_SOURCES})
  else()
    add_executable(${A_NAME} ${A_SOURCES})
  endif()
  kv_common_setup(${A_NAME})
  target_link_libraries(${A_NAME} PRIVATE ${A_LIBS})
endfunction()

function(kv_dll)
  cmake_parse_arguments(A "" "NAME;DEF" "SOURCES;LIBS" ${ARGN})
  if(KV_NATIVE)
    return()
  endif()
  add_library(${A_NAME} SHARED ${A_SOURCES} ${A_DEF})
  kv_common_setup(${A_NAME})
  set_target_properties(${A_NAME} PROPERTIES PREFIX "")
  target_link_libraries(${A_NAME} PRIVATE ${A_LIBS})
endfunction()
