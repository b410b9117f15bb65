# Reads the export table of the thinking library's DLL with objdump and fails unless it names
# exactly sikou, sikou_end and sikou_ini, undecorated.
#   cmake -DOBJDUMP=... -DLIBRARY=.../sikou.dll -P check_exports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE table RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "objdump cannot read ${LIBRARY}")
endif()
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)+" names "${table}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" lines "${names}")
set(entries "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^\\[ *[0-9]+\\] " "" name "${line}")
  list(APPEND entries "${name}")
endforeach()
list(SORT entries)
message(STATUS "exports of ${LIBRARY}: ${entries}")
if(NOT entries STREQUAL "sikou;sikou_end;sikou_ini")
  message(FATAL_ERROR "${LIBRARY} exports \"${entries}\", not exactly sikou;sikou_end;sikou_ini")
endif()
