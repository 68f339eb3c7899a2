# Fails when a file of the program includes a header of a folder above its
# own: the libraries under src/ are layers, each built only on those below
# it, so that a parser never drags in a window and the command line never a
# widget.
#   cmake -DSOURCE_DIR=<src> -P check_layers.cmake
# The level of each folder, the lowest first; folders of one level do not
# include each other either.
set(index 0)
foreach(group IN ITEMS "core|pointing" "scan|map" "plot|receiver|history" "fullscan|wording" cli app)
  string(REPLACE "|" ";" group_folders "${group}")
  foreach(folder IN LISTS group_folders)
    set(level_${folder} ${index})
  endforeach()
  math(EXPR index "${index} + 1")
endforeach()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(broken "")
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" folder "${source}")
  if(NOT DEFINED level_${folder})
    list(APPEND broken "${source}: the folder ${folder} has no level in tests/layers")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^#include \"[a-z]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" included "${line}")
    if(included STREQUAL folder)
      continue()
    endif()
    if(NOT DEFINED level_${included} OR NOT level_${included} LESS level_${folder})
      list(APPEND broken "${source} includes ${included}/, which is not below ${folder}/")
    endif()
  endforeach()
endforeach()

if(broken)
  list(JOIN broken "\n" message)
  message(FATAL_ERROR "${message}")
endif()
