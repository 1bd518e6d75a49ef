# cmake -DMODULE=<module .so> -P CheckExports.cmake
# Fails unless the module's defined dynamic symbols are exactly the three entry points.
execute_process(COMMAND nm -D --defined-only ${MODULE}
                OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${MODULE}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(names "")
foreach(line ${lines})
  if(line MATCHES "^[0-9a-fA-F]* *[A-Za-z] ([^ ]+)$")
    list(APPEND names ${CMAKE_MATCH_1})
  endif()
endforeach()
list(SORT names)
if(NOT names STREQUAL "GetPluginFactory;ModuleEntry;ModuleExit")
  message(FATAL_ERROR "Module exports [${names}], expected exactly GetPluginFactory, ModuleEntry, ModuleExit")
endif()
message(STATUS "Exports: ${names}")
