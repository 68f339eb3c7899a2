# The compile and link flags Debian builds its own packages with, every
# hardening feature on: fortified libc calls, stack protector, full RELRO
# and immediate binding (DEB_BUILD_MAINT_OPTIONS=hardening=+all). The
# builder's own DEB_* variables still apply, as they do to any package.
# The debug information is stripped from the flags: no test reads it, it
# costs a quarter of the compile time, and the package is stripped anyway.
find_program(WAVESIFT_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT WAVESIFT_DPKG_BUILDFLAGS)
  message(FATAL_ERROR "WAVESIFT_DEB_BUILDFLAGS needs dpkg-buildflags (package dpkg-dev), "
    "or configure with -DWAVESIFT_DEB_BUILDFLAGS=OFF")
endif()

function(ws_dpkg_buildflags kind out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
      DEB_CXXFLAGS_MAINT_STRIP=-g
      ${WAVESIFT_DPKG_BUILDFLAGS} --get ${kind}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

ws_dpkg_buildflags(CPPFLAGS ws_deb_cppflags)
ws_dpkg_buildflags(CXXFLAGS ws_deb_cxxflags)
ws_dpkg_buildflags(LDFLAGS ws_deb_ldflags)
add_compile_options(${ws_deb_cppflags} ${ws_deb_cxxflags})
add_link_options(${ws_deb_ldflags})
