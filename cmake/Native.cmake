# Native tree: platform-independent code under AddressSanitizer and UBSan.
# With clang every object also carries libFuzzer coverage so that the fuzz
# targets can link against the same libraries.
set(KV_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${KV_SANITIZE})
add_link_options(${KV_SANITIZE})

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(KV_FUZZING ON)
  add_compile_options(-fsanitize=fuzzer-no-link)
else()
  set(KV_FUZZING OFF)
endif()
set(KV_FUZZ_SMOKE_SECONDS 10 CACHE STRING "Seconds each fuzz target runs in the test suite")
set(KV_FUZZ_LONG_SECONDS 600 CACHE STRING "Seconds each fuzz target runs under fuzz-long")
add_custom_target(fuzz-long)
# Filled by kv_fuzzer while the tree is configured.
file(WRITE ${CMAKE_BINARY_DIR}/fuzz-targets.txt "")
