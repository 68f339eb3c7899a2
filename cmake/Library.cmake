# ws_add_library(<name> <sources...> [PUBLIC <targets...>] [PRIVATE <targets...>])
# A static library of the program. Its headers are included by their path
# below src/ ("plot/view.h") from anywhere. PUBLIC names what its headers
# include, PRIVATE what only its sources use, so that whatever links the
# library compiles against no more than it needs.
function(ws_add_library name)
  cmake_parse_arguments(ARG "" "" "PUBLIC;PRIVATE" ${ARGN})
  add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
  ws_reuse_pch(ws_core_pch ${name})
endfunction()

# ws_precompile(<name> <headers...> LIBS <targets...> [OPTIONS <flags...>])
# An object library that only makes a precompiled header of <headers> for
# other targets to reuse (target_precompile_headers(... REUSE_FROM <name>)).
# The compiler takes it only where the macros it looks at are set as when
# it was made, and the optimisation is the same; -Winvalid-pch says when not.
function(ws_precompile name)
  cmake_parse_arguments(ARG "" "" "LIBS;OPTIONS" ${ARGN})
  file(CONFIGURE OUTPUT ${name}.cpp CONTENT "// Only here to make a precompiled header.\n")
  add_library(${name} OBJECT ${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp)
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_compile_options(${name} PRIVATE ${ARG_OPTIONS})
  target_precompile_headers(${name} PRIVATE ${ARG_UNPARSED_ARGUMENTS})
endfunction()

# ws_reuse_pch(<pch> <targets...>) gives <targets> the precompiled header
# that ws_precompile(<pch> ...) made, where there is one. The file of moc
# output that AUTOMOC compiles on its own is left without: a target's moc
# output is mostly included by its sources, or there is none, and reading
# the header would be that file's whole cost.
function(ws_reuse_pch pch)
  if(NOT TARGET ${pch})
    return()
  endif()
  foreach(target IN LISTS ARGN)
    target_precompile_headers(${target} REUSE_FROM ${pch})
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/mocs_compilation.cpp
      PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
  endforeach()
endfunction()
