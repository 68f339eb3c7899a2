# How the program's libraries under src/ are made, and the walk over every
# target that the project-wide settings (cmake/Moc.cmake,
# cmake/Precompile.cmake) share.

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
endfunction()

# The targets defined in <dir> and below.
function(ws_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    ws_targets_below(${sub} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

