# How the program's libraries under src/ are made, and which Qt modules a
# target compiles against (for the precompiled headers, cmake/Precompile.cmake
# and tests/CMakeLists.txt).

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

# The Qt modules (Qt6::Core, Qt6::Widgets ...) whose headers and macros
# <target>'s compile line sees: its own links, and what the libraries it
# links pass on to their users. A private link of a static library
# ($<LINK_ONLY:...>) passes on nothing to compile against.
function(ws_qt_modules_seen target out)
  set(modules)
  set(todo ${target})
  set(seen)
  while(todo)
    list(POP_FRONT todo t)
    if(t IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${t})
    if(t MATCHES "^Qt6?::")
      list(APPEND modules ${t})
    elseif(TARGET ${t})
      if(t STREQUAL target)
        get_target_property(libs ${t} LINK_LIBRARIES)
      else()
        get_target_property(libs ${t} INTERFACE_LINK_LIBRARIES)
      endif()
      foreach(lib IN LISTS libs)
        if(lib AND NOT lib MATCHES "^\\$<LINK_ONLY:")
          list(APPEND todo ${lib})
        endif()
      endforeach()
    endif()
  endwhile()
  set(${out} ${modules} PARENT_SCOPE)
endfunction()
