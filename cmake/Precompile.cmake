# Precompiled Qt Core headers for every library and program of the project
# that compiles against Qt and has none of its own (the test programs share
# a precompiled <QtTest>, see tests/CMakeLists.txt). The common Qt Core
# headers are then parsed once per build instead of once per file.
#
# Call ws_precompile_qt_core() once, after the last add_subdirectory(): it
# finds the targets itself, so that a new library or program needs nothing.
# The header holds Qt Core only, which every target may use, parsers too.
# Qt Core's headers look at no module macro (QT_GUI_LIB and so on), so one
# header fits every target whatever else it links; GCC warns through
# -Winvalid-pch if a target's own macros ever make it unusable.

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

function(ws_precompile_qt_core)
  file(CONFIGURE OUTPUT ws_core_pch.cpp
    CONTENT "// Only here to make the precompiled Qt Core headers the project shares.\n")
  add_library(ws_core_pch OBJECT ${CMAKE_CURRENT_BINARY_DIR}/ws_core_pch.cpp)
  target_link_libraries(ws_core_pch PRIVATE Qt6::Core)
  target_compile_options(ws_core_pch PRIVATE -Winvalid-pch)
  target_precompile_headers(ws_core_pch PRIVATE
    <QByteArray> <QDateTime> <QFile> <QHash> <QList> <QLocale> <QMap> <QObject>
    <QString> <QStringList>)

  ws_targets_below(${PROJECT_SOURCE_DIR} targets)
  foreach(t IN LISTS targets)
    get_target_property(type ${t} TYPE)
    if(t STREQUAL "ws_core_pch" OR NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      continue()
    endif()
    get_target_property(own ${t} PRECOMPILE_HEADERS)
    get_target_property(reused ${t} PRECOMPILE_HEADERS_REUSE_FROM)
    if(own OR reused)
      continue()
    endif()
    ws_qt_modules_seen(${t} qt)
    if(qt)
      target_compile_options(${t} PRIVATE -Winvalid-pch)
      target_precompile_headers(${t} REUSE_FROM ws_core_pch)
    endif()
  endforeach()
endfunction()
