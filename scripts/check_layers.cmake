# The folders' include graph: every #include "folder/file.h" of every source names a folder
# below its own, and no folders include each other round a loop. Writes the graph it finds
# (folder -> folders it includes, with the number of include lines) to OUTPUT as text and
# to OUTPUT.dot, and fails with every offending line listed.
#   cmake -DSOURCE_DIR=<top> -DOUTPUT=<file> -P scripts/check_layers.cmake

# The layers, lowest first; a folder may include only folders of a lower layer (shogi-tool
# and the shell share one layer: neither includes the other; the tool's match command, which
# plays its games through the shell's game driver as the window does, stands above both).
# The thinking library's header is plain C and includes nothing of ours.
set(layers
    "platform sikou"
    "rules"
    "database_files"
    "records"
    "database"
    "analysis output"
    "players"
    "shell tools"
    "shell/gui tools/match"
    "fixtures"
    "tests bench")
set(rank 0)
foreach(layer IN LISTS layers)
  string(REPLACE " " ";" folders "${layer}")
  foreach(folder IN LISTS folders)
    set(rank_of_${folder} ${rank})
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()

# The layer a folder belongs to: its own entry, else that of the nearest parent listed
# (tests/shell/fake_libraries is a tests folder). Empty for a folder of no layer.
function(layer_rank folder out)
  set(f "${folder}")
  while(NOT DEFINED rank_of_${f})
    string(FIND "${f}" "/" slash REVERSE)
    if(slash LESS 0)
      set(${out} "" PARENT_SCOPE)
      return()
    endif()
    string(SUBSTRING "${f}" 0 ${slash} f)
  endwhile()
  set(${out} ${rank_of_${f}} PARENT_SCOPE)
endfunction()

# The sources of the tree's folders: not the build folders (a Wine prefix there links to the
# whole disk), and no link followed.
cmake_policy(SET CMP0009 NEW)
file(GLOB tops RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
set(sources "")
foreach(top IN LISTS tops)
  if(top MATCHES "^(build|\\.)" OR NOT IS_DIRECTORY "${SOURCE_DIR}/${top}")
    continue()
  endif()
  file(GLOB_RECURSE found RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${top}/*.h"
       "${SOURCE_DIR}/${top}/*.c" "${SOURCE_DIR}/${top}/*.cpp")
  list(APPEND sources ${found})
endforeach()
set(problems "")
set(folders "")
foreach(source IN LISTS sources)
  if(source MATCHES "^(build|\\.)" OR NOT source MATCHES "/")
    continue()
  endif()
  get_filename_component(from "${source}" DIRECTORY)
  layer_rank("${from}" from_rank)
  if(from_rank STREQUAL "")
    list(APPEND problems "${source}: the folder ${from} has no layer")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]*/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
    get_filename_component(to "${header}" DIRECTORY)
    if(to STREQUAL from OR NOT EXISTS "${SOURCE_DIR}/${header}")
      continue()  # the folder's own headers; system headers with a folder
    endif()
    layer_rank("${to}" to_rank)
    string(MAKE_C_IDENTIFIER "${from}->${to}" edge)
    if(NOT DEFINED count_${edge})
      set(count_${edge} 0)
      list(APPEND targets_of_${from} "${to}")
      list(APPEND folders "${from}" "${to}")
    endif()
    math(EXPR count_${edge} "${count_${edge}} + 1")
    if(to_rank STREQUAL "")
      list(APPEND problems "${source}: includes ${header} from ${to}, which has no layer")
    elseif(NOT to_rank LESS from_rank AND NOT to MATCHES "^tests(/|$)")
      list(APPEND problems "${source}: includes ${header}, which is not below ${from}")
    elseif(from_rank LESS rank_of_tests AND to MATCHES "^tests(/|$)")
      list(APPEND problems "${source}: includes the test header ${header}")
    endif()
  endforeach()
endforeach()
# Loops: a folder that reaches itself again through the includes (tests among themselves
# too). Depth-first from each folder over the graph found above.
list(REMOVE_DUPLICATES folders)
list(SORT folders)
foreach(start IN LISTS folders)
  set(seen "")
  set(stack ${targets_of_${start}})
  while(stack)
    list(POP_BACK stack f)
    if(f STREQUAL start)
      list(APPEND problems "the folders include each other in a loop through ${start}")
      break()
    endif()
    list(FIND seen "${f}" was)
    if(was LESS 0)
      list(APPEND seen "${f}")
      list(APPEND stack ${targets_of_${f}})
    endif()
  endwhile()
endforeach()

# bench/ measures the program's own code, never test code.
foreach(to IN LISTS targets_of_bench)
  if(to MATCHES "^tests(/|$)")
    list(APPEND problems "bench includes test headers from ${to}")
  endif()
endforeach()

set(text "")
set(dot "digraph folders {\n  rankdir=BT;\n")
foreach(from IN LISTS folders)
  set(targets ${targets_of_${from}})
  list(SORT targets)
  set(row "")
  foreach(to IN LISTS targets)
    string(MAKE_C_IDENTIFIER "${from}->${to}" edge)
    string(APPEND row " ${to}(${count_${edge}})")
    string(APPEND dot "  \"${from}\" -> \"${to}\" [label=${count_${edge}}];\n")
  endforeach()
  string(APPEND text "${from} ->${row}\n")
endforeach()
string(APPEND dot "}\n")
file(WRITE "${OUTPUT}" "${text}")
file(WRITE "${OUTPUT}.dot" "${dot}")

if(problems)
  list(LENGTH problems n)
  string(REPLACE ";" "\n" listed "${problems}")
  message(FATAL_ERROR "${n} include(s) break the layers:\n${listed}")
endif()
message(STATUS "The folders' includes run one way; the graph is in ${OUTPUT}")
