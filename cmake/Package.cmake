# `cpack -G DEB` (or `cmake --build <dir> --target package` on Linux) packs
# what `cmake --install` installs into wavesift_<version>_<arch>.deb, below
# the prefix the build was configured with: a package for /usr needs
# -DCMAKE_INSTALL_PREFIX=/usr, as scripts/package.sh gives it. The program
# knows its prefix from that, so the package never moves it elsewhere.
set(CPACK_PACKAGE_NAME wavesift)
set(CPACK_PACKAGE_VENDOR "Wavesift developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${WAVESIFT_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "compare satellite scans and check transmissions with a receiver")
set(CPACK_PACKAGE_DESCRIPTION "\
Wavesift helps align a satellite dish. Its window plots what the dish
receives now against an older scan, with their difference, shows the known
transmissions of the satellite on the same frequency axis, and checks any
frequency with a real receiver on a serial port; a full scan checks every
MPEG transmission of the map and saves the receiver's logs.

The same checks, and pictures of the window, run from the command line
without a display. A receiver simulator, wavesift-rxsim, lets one try them
without a receiver.")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

# The package's version is that of the newest entry of its changelog,
# the program's version and the Debian revision: 0.1-1 is the first
# package of 0.1. A changelog that names another program version is an
# entry forgotten.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog.Debian ws_changelog_top LIMIT_COUNT 1)
if(NOT ws_changelog_top MATCHES "^wavesift \\(([^ ]+)-([^- ]+)\\) ")
  message(FATAL_ERROR "packaging/changelog.Debian begins with no entry: ${ws_changelog_top}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog.Debian has no entry for version ${PROJECT_VERSION} "
    "at its top, but one for ${CMAKE_MATCH_1}")
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_2})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${WAVESIFT_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the binary links, with the versions it needs, as
# dpkg-shlibdeps reads them from the binary.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# No homepage is set: the project has none yet.

include(CPack)
