# Installs BUILD_DIR into PREFIX and checks what a desktop needs of it.
cmake_minimum_required(VERSION 3.19)
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
include(GNUInstallDirs)

set(exe "${PREFIX}/${CMAKE_INSTALL_BINDIR}/wavesift")
if(NOT EXISTS "${exe}" OR IS_DIRECTORY "${exe}")
  message(FATAL_ERROR "program not installed as ${exe}")
endif()

# The menu entry must start the program by the name it is installed under,
# hand it the files in the file manager's order for it to sort, and show
# the icon by the name the theme holds it under.
set(desktop "${PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/wavesift.desktop")
file(STRINGS "${desktop}" entry)
foreach(line "[Desktop Entry]" "Type=Application" "Name=Wavesift" "Exec=wavesift --any-order %F"
        "Icon=wavesift")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "${desktop} lacks the line ${line}")
  endif()
endforeach()

# A theme icon must be a PNG of exactly its folder's size: the width and
# height are the big-endian words at bytes 16 and 20 of the IHDR chunk.
foreach(size 16 32 48 64 128)
  set(png "${PREFIX}/${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps/wavesift.png")
  if(NOT EXISTS "${png}")
    message(FATAL_ERROR "icon not installed as ${png}")
  endif()
  file(READ "${png}" head LIMIT 24 HEX)
  math(EXPR want "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${want}" 2 -1 want)
  string(LENGTH "${want}" n)
  while(n LESS 8)
    string(PREPEND want "0")
    math(EXPR n "${n} + 1")
  endwhile()
  if(NOT head MATCHES "^89504e470d0a1a0a0000000d49484452${want}${want}$")
    message(FATAL_ERROR "${png} is not a ${size}x${size} PNG: ${head}")
  endif()
endforeach()
