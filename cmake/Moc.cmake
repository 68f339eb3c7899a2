# The meta-object compiler runs only where a class needs it.
#
# AUTOMOC costs a step per target even where it finds nothing, and it hands
# moc every include path of the target, so moc parses all of Qt behind each
# #include: about two seconds for a test program whose one class needs none
# of it. Hence:
# - AUTOMOC is off by default; the libraries with classes for moc (the
#   window's and the history's) turn it on.
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
  set_target_properties(${target} PROPERTIES AUTOMOC OFF)
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
