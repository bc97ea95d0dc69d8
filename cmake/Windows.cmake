# Windows tree: the program, the simulated driver and the tests that run
# under Wine when cross-built on Linux.
if(CMAKE_CROSSCOMPILING)
  find_program(KV_WINE wine REQUIRED)
  set(KV_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix used by tests")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${KV_WINEPREFIX})

  # The prefix is made once per build tree and reused by every later run.
  set(KV_WINEPREFIX_STAMP ${KV_WINEPREFIX}/.korvane-ready)
  add_custom_command(OUTPUT ${KV_WINEPREFIX_STAMP}
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh ${KV_WINEPREFIX}
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh
    COMMENT "Preparing the Wine prefix"
    USES_TERMINAL)
  add_custom_target(wineprefix ALL DEPENDS ${KV_WINEPREFIX_STAMP})
endif()
