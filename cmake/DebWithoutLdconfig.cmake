# Run by CPack after it has built the Debian package.
#
# CPack's DEB generator adds postinst and postrm scripts that run ldconfig
# whenever a shared object lies one folder below /usr/lib, as the sound
# module in /usr/lib/soremuka does. ldconfig never looks in a program's own
# folder, so those scripts do nothing but make the package look as if it
# kept a shared library; the package is built again without them.
foreach(DEB IN LISTS CPACK_PACKAGE_FILES)
  set(TREE "${DEB}.tree")
  file(REMOVE_RECURSE "${TREE}")
  execute_process(COMMAND dpkg-deb -R "${DEB}" "${TREE}" COMMAND_ERROR_IS_FATAL ANY)
  foreach(SCRIPT postinst postrm)
    if(NOT EXISTS "${TREE}/DEBIAN/${SCRIPT}")
      continue()
    endif()
    file(READ "${TREE}/DEBIAN/${SCRIPT}" TEXT)
    # Only CPack's own script: one that does more is kept.
    string(REGEX REPLACE "#!/bin/sh|set -e|ldconfig|if \\[ \"\\$1\" = \"[a-z]+\" \\]; then|fi|[ \t\n]" "" REST "${TEXT}")
    if(REST STREQUAL "")
      file(REMOVE "${TREE}/DEBIAN/${SCRIPT}")
    endif()
  endforeach()
  execute_process(COMMAND dpkg-deb --root-owner-group -Zxz -b "${TREE}" "${DEB}" OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${TREE}")
endforeach()
