# Fails when a Windows binary imports a DLL that is not part of Windows,
# i.e. when it would not run with nothing beside it.
#   cmake -DOBJDUMP=... -DBINARY=... -P CheckImports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${BINARY} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot read ${BINARY}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(line IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(TOLOWER "${dll}" dll)
  if(dll MATCHES "^(libgcc|libstdc|libwinpthread|zlib|libz)")
    message(FATAL_ERROR "${BINARY} needs ${dll} beside it")
  endif()
endforeach()
message(STATUS "imports: ${imports}")
