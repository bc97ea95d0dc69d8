# Windows tree: the program, the simulated driver and the tests that run
# under Wine when cross-built on Linux.
if(CMAKE_CROSSCOMPILING)
  find_program(KV_WINE wine REQUIRED)
  set(KV_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix used by tests")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${KV_WINEPREFIX})

  # A pristine prefix is made once per build tree (wineboot takes long) and
  # copied: the tests' prefix is a copy, and the installer tests copy it
  # afresh for each test.
  set(KV_WINEPREFIX_TEMPLATE ${CMAKE_BINARY_DIR}/wineprefix-template)
  set(KV_WINEPREFIX_TEMPLATE_STAMP ${KV_WINEPREFIX_TEMPLATE}/.korvane-ready)
  add_custom_command(OUTPUT ${KV_WINEPREFIX_TEMPLATE_STAMP}
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh ${KV_WINEPREFIX_TEMPLATE}
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh
    COMMENT "Preparing the Wine prefix")
  add_custom_target(wineprefix_template DEPENDS ${KV_WINEPREFIX_TEMPLATE_STAMP})
  set(KV_WINEPREFIX_STAMP ${KV_WINEPREFIX}/.korvane-ready)
  add_custom_command(OUTPUT ${KV_WINEPREFIX_STAMP}
    COMMAND mkdir -p ${KV_WINEPREFIX}
    COMMAND cp -a ${KV_WINEPREFIX_TEMPLATE}/. ${KV_WINEPREFIX}
    COMMAND ${CMAKE_COMMAND} -E touch ${KV_WINEPREFIX_STAMP}
    DEPENDS ${KV_WINEPREFIX_TEMPLATE_STAMP}
    COMMENT "Copying the Wine prefix of the tests")
  add_custom_target(wineprefix ALL DEPENDS ${KV_WINEPREFIX_STAMP})
endif()
