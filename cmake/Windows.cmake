# Windows tree: the program, the simulated driver and the tests that run
# under Wine when cross-built on Linux.
if(CMAKE_CROSSCOMPILING)
  # Line tables and function names only (enough for backtraces and
  # addr2line): full debug information makes the cross build a quarter
  # slower and its objects three times larger. Comes after the build type's
  # -g, so it wins.
  add_compile_options($<$<CONFIG:RelWithDebInfo>:-g1>)
  find_program(KV_WINE wine REQUIRED)
  set(KV_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix used by tests")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${KV_WINEPREFIX})

  # A pristine prefix is made once per build tree (wineboot takes long) and
  # copied: the tests' prefixes are copies, and the installer tests copy it
  # afresh for each test.
  set(KV_WINEPREFIX_TEMPLATE ${CMAKE_BINARY_DIR}/wineprefix-template)
  set(KV_WINEPREFIX_TEMPLATE_STAMP ${KV_WINEPREFIX_TEMPLATE}/.korvane-ready)
  add_custom_command(OUTPUT ${KV_WINEPREFIX_TEMPLATE_STAMP}
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh ${KV_WINEPREFIX_TEMPLATE}
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh
    COMMENT "Preparing the Wine prefix")
  add_custom_target(wineprefix_template DEPENDS ${KV_WINEPREFIX_TEMPLATE_STAMP})
  # Window tests run on two displays at once, each with a prefix of its own
  # (scripts/display-slot.sh): the tree's prefix and a second copy.
  set(KV_WINEPREFIX2 ${CMAKE_BINARY_DIR}/wineprefix2)
  foreach(prefix IN ITEMS ${KV_WINEPREFIX} ${KV_WINEPREFIX2})
    add_custom_command(OUTPUT ${prefix}/.korvane-ready
      COMMAND mkdir -p ${prefix}
      COMMAND cp -a ${KV_WINEPREFIX_TEMPLATE}/. ${prefix}
      COMMAND ${CMAKE_COMMAND} -E touch ${prefix}/.korvane-ready
      DEPENDS ${KV_WINEPREFIX_TEMPLATE_STAMP}
      COMMENT "Copying the Wine prefix ${prefix}")
  endforeach()
  add_custom_target(wineprefix ALL
    DEPENDS ${KV_WINEPREFIX}/.korvane-ready ${KV_WINEPREFIX2}/.korvane-ready)
  # The runner of window tests: a free display and its prefix.
  set(KV_DISPLAY_RUNNER ${CMAKE_SOURCE_DIR}/scripts/display-slot.sh ${KV_WINEPREFIX} ${KV_WINEPREFIX2})
endif()
