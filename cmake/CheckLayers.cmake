# Checks that includes only point down the layers: a file may include headers of its own folder
# and of the folders below it, never of a folder above. Run as a test:
#   cmake -DROOT=<source tree> -P CheckLayers.cmake
# A folder's rank is that of its longest listed prefix; a higher rank is a higher layer.
# Folders outside the list (tests, bench, fuzz, Qt's generated files) are not checked.

set(kl_layers
    "app=70" "tools=70"                 # the program and the command-line helpers
    "search=60"                         # the journal's search index, above the store it reads
    "store=50"
    "editor=40"
    "framework=30"
    "platform=20"                       # stand-ins; siblings may use each other...
    "platform/richedit/rtf=10"          # ...but the RTF reader and writer sit below the control,
    "platform/richedit/document=5"      # the document schema below both,
    "platform/encoding=0")              # and text encoding below everything

if(NOT ROOT)
  message(FATAL_ERROR "CheckLayers: pass -DROOT=<source tree>")
endif()

# Sets out to the rank of a path relative to ROOT, or to "" when no layer holds it.
function(kl_rank_of path out)
  set(best "")
  set(best_length -1)
  foreach(entry IN LISTS kl_layers)
    string(REPLACE "=" ";" pair "${entry}")
    list(GET pair 0 folder)
    list(GET pair 1 rank)
    string(FIND "${path}" "${folder}/" at)
    string(LENGTH "${folder}" length)
    if(at EQUAL 0 AND length GREATER best_length)
      set(best "${rank}")
      set(best_length ${length})
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

set(violations "")
set(sources "")
foreach(entry IN LISTS kl_layers)
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 folder)
  file(GLOB_RECURSE found RELATIVE "${ROOT}" "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  list(APPEND sources ${found})
endforeach()
list(REMOVE_DUPLICATES sources)
list(SORT sources)

foreach(source IN LISTS sources)
  kl_rank_of("${source}" own)
  get_filename_component(dir "${source}" DIRECTORY)
  file(STRINGS "${ROOT}/${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
    # A quoted include names a file beside the includer first, then one from the tree's root.
    if(EXISTS "${ROOT}/${dir}/${header}")
      get_filename_component(absolute "${ROOT}/${dir}/${header}" ABSOLUTE)
      file(RELATIVE_PATH target "${ROOT}" "${absolute}")
    else()
      set(target "${header}")
    endif()
    kl_rank_of("${target}" theirs)
    if(NOT theirs STREQUAL "" AND theirs GREATER own)
      list(APPEND violations "${source} includes ${target}, a layer above its own")
    endif()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " report)
  message(FATAL_ERROR "Includes against the layers:\n  ${report}")
endif()
list(LENGTH sources count)
message(STATUS "Layers hold: ${count} files include only their own layer or those below")
