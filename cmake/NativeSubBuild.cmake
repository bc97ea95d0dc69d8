# Builds the native sanitizer tree as part of the Windows tree and makes its
# tests part of this tree's CTest run, so one command reports both.
include(ExternalProject)
find_program(KV_NATIVE_CXX NAMES clang++-14 clang++ g++ REQUIRED)
find_program(KV_NATIVE_CC NAMES clang-14 clang gcc REQUIRED)
set(KV_NATIVE_DIR ${CMAKE_BINARY_DIR}/native)
ExternalProject_Add(native
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${KV_NATIVE_DIR}
  CMAKE_ARGS
    -DKV_NATIVE=ON
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
    -DCMAKE_C_COMPILER=${KV_NATIVE_CC}
    -DCMAKE_CXX_COMPILER=${KV_NATIVE_CXX}
    -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${KV_NATIVE_DIR}/bin
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_CONFIGURE ON
  USES_TERMINAL_BUILD ON)

file(WRITE ${CMAKE_BINARY_DIR}/native-tests.cmake
  "if(EXISTS \"${KV_NATIVE_DIR}/CTestTestfile.cmake\")\n"
  "  subdirs(\"${KV_NATIVE_DIR}\")\n"
  "endif()\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/native-tests.cmake)

add_custom_target(fuzz-long
  COMMAND ${CMAKE_COMMAND} --build ${KV_NATIVE_DIR} --target fuzz-long
  DEPENDS native USES_TERMINAL)
