# The meta-object compiler runs only where a class needs it.
#
# AUTOMOC costs a step per target even where it finds nothing, and it hands
# moc every include path of the target, so moc parses all of Qt behind each
# #include: about two seconds for a test program whose one class needs none
# of it. Hence:
# - ws_automoc_where_needed() (called once, after the last add_subdirectory())
#   turns AUTOMOC on for the targets with a Q_OBJECT, Q_GADGET or
#   Q_NAMESPACE in a source or in the header beside one, and for no other.
# - ws_moc_source(<target> <source>) runs moc on one source file that ends in
#   `#include "<name>.moc"`, with the compiler's own macros and Qt's platform
#   macros (Q_OS_UNIX and the like, which tests put around their slots) but
#   no include path: moc needs no declaration to read a class of test slots.
#   The target then gets no AUTOMOC.

set(ws_moc_predefs ${CMAKE_BINARY_DIR}/ws_moc_predefs.h)

function(ws_moc_source target source)
  get_filename_component(stem ${source} NAME_WE)
  get_filename_component(source ${source} ABSOLUTE)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_moc)
  set(out ${dir}/${stem}.moc)
  get_target_property(qt_include_dirs Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
  find_file(ws_qsystemdetection QtCore/qsystemdetection.h PATHS ${qt_include_dirs} NO_DEFAULT_PATH)
  if(NOT ws_qsystemdetection)
    message(FATAL_ERROR "QtCore/qsystemdetection.h not found under ${qt_include_dirs}")
  endif()
  add_custom_command(OUTPUT ${out}
    COMMAND Qt6::moc --include ${ws_moc_predefs} --include ${ws_qsystemdetection}
      ${source} -o ${out}
    DEPENDS ${source} ${ws_moc_predefs} Qt6::moc
    COMMENT "Running moc on ${stem}.cpp"
    VERBATIM)
  set_source_files_properties(${out} PROPERTIES HEADER_FILE_ONLY ON)
  target_sources(${target} PRIVATE ${out})
  target_include_directories(${target} PRIVATE ${dir})
  set_target_properties(${target} PROPERTIES AUTOMOC OFF WS_OWN_MOC ON)
endfunction()

# The macros the compiler defines on its own (__linux__, _WIN32 ...), which
# Qt's platform macros are made from. Written at configure time, once.
function(ws_write_moc_predefs)
  set(failed TRUE)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    file(WRITE ${CMAKE_BINARY_DIR}/ws_moc_predefs.cpp "")
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} ${CMAKE_CXX17_STANDARD_COMPILE_OPTION}
        -dM -E ${CMAKE_BINARY_DIR}/ws_moc_predefs.cpp
      OUTPUT_FILE ${ws_moc_predefs}.new RESULT_VARIABLE failed)
  endif()
  if(failed)
    # Qt's own detection then falls back on what moc defines itself.
    file(WRITE ${ws_moc_predefs}.new "")
  endif()
  file(COPY_FILE ${ws_moc_predefs}.new ${ws_moc_predefs} ONLY_IF_DIFFERENT)
endfunction()
ws_write_moc_predefs()

# Whether any source of <target>, or the header beside a source, declares a
# class for the meta-object compiler.
function(ws_needs_moc target out)
  get_target_property(sources ${target} SOURCES)
  get_target_property(dir ${target} SOURCE_DIR)
  set(${out} FALSE PARENT_SCOPE)
  if(NOT sources)
    return()
  endif()
  foreach(source IN LISTS sources)
    if(source MATCHES "^\\$<")
      continue()
    endif()
    get_filename_component(path ${source} ABSOLUTE BASE_DIR ${dir})
    get_filename_component(folder ${path} DIRECTORY)
    get_filename_component(stem ${path} NAME_WE)
    foreach(file ${path} ${folder}/${stem}.h)
      if(EXISTS ${file} AND NOT IS_DIRECTORY ${file})
        file(STRINGS ${file} hits REGEX "Q_OBJECT|Q_GADGET|Q_NAMESPACE" LIMIT_COUNT 1)
        if(hits)
          set(${out} TRUE PARENT_SCOPE)
          return()
        endif()
      endif()
    endforeach()
  endforeach()
endfunction()

function(ws_automoc_where_needed)
  ws_targets_below(${PROJECT_SOURCE_DIR} targets)
  foreach(t IN LISTS targets)
    get_target_property(type ${t} TYPE)
    if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      continue()
    endif()
    get_target_property(own_moc ${t} WS_OWN_MOC)
    if(own_moc)
      continue()
    endif()
    ws_needs_moc(${t} needs)
    if(needs)
      set_target_properties(${t} PROPERTIES AUTOMOC ON)
    endif()
  endforeach()
endfunction()
