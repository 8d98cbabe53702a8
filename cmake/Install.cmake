# Installing the program as a desktop program, and its Debian package.
#
#   PREFIX/bin/soremuka                         the program
#   PREFIX/lib/soremuka/libsoremuka-sound.so    the sound player module
#   PREFIX/share/soremuka/                      Maru.wav, SD05.wav, the sample roster.ini
#   PREFIX/share/applications/ID.desktop        the menu entry
#   PREFIX/share/icons/hicolor/.../soremuka.*   the icon: scalable, 48 and 256 pixels
#   PREFIX/share/metainfo/ID.metainfo.xml       what software centres show
#   PREFIX/share/man/man1/soremuka.1.gz         the manual page
#   PREFIX/share/doc/soremuka/                  copyright and changelog
#
# The program looks for its sounds, module and roster in these places
# (src/places/Places.h), so the folder names here and there go together.
include(GNUInstallDirs)

set(SOREMUKA_MAINTAINER "Soremuka developers <maintainers@soremuka.example.org>"
  CACHE STRING "the Debian package's maintainer, name <address>")

install(TARGETS soremuka RUNTIME DESTINATION bin)
install(TARGETS soremuka-sound LIBRARY DESTINATION lib/soremuka
  PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${CMAKE_BINARY_DIR}/Maru.wav ${CMAKE_BINARY_DIR}/SD05.wav ${CMAKE_SOURCE_DIR}/assets/roster.ini
  DESTINATION share/soremuka)

install(FILES ${CMAKE_SOURCE_DIR}/assets/soremuka.desktop
  DESTINATION share/applications RENAME ${SOREMUKA_APP_ID}.desktop)
install(FILES ${CMAKE_SOURCE_DIR}/assets/soremuka.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(SIZE 48 256)
  install(FILES ${CMAKE_SOURCE_DIR}/assets/soremuka-${SIZE}.png
    DESTINATION share/icons/hicolor/${SIZE}x${SIZE}/apps RENAME soremuka.png)
endforeach()

configure_file(${CMAKE_SOURCE_DIR}/assets/soremuka.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/install/${SOREMUKA_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/${SOREMUKA_APP_ID}.metainfo.xml DESTINATION share/metainfo)

# The manual page and the changelog are compressed, as Debian keeps them;
# -n leaves the time out, so the same sources give the same package.
configure_file(${CMAKE_SOURCE_DIR}/assets/debian/changelog.in ${CMAKE_BINARY_DIR}/install/changelog @ONLY)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/install/soremuka.1.gz ${CMAKE_BINARY_DIR}/install/changelog.gz
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/assets/soremuka.1 > ${CMAKE_BINARY_DIR}/install/soremuka.1.gz
  COMMAND gzip -9n -c ${CMAKE_BINARY_DIR}/install/changelog > ${CMAKE_BINARY_DIR}/install/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/assets/soremuka.1 ${CMAKE_BINARY_DIR}/install/changelog
  VERBATIM)
add_custom_target(soremuka_install_files ALL
  DEPENDS ${CMAKE_BINARY_DIR}/install/soremuka.1.gz ${CMAKE_BINARY_DIR}/install/changelog.gz)
# A build of the program alone (the checking build's) can be installed too.
add_dependencies(soremuka soremuka_install_files)
install(FILES ${CMAKE_BINARY_DIR}/install/soremuka.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/assets/debian/copyright ${CMAKE_BINARY_DIR}/install/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The install tree holds what it should, and the program run from it finds
# its sounds and module there.
add_test(NAME InstallTree COMMAND ${CMAKE_COMMAND}
  -DBUILD_DIR=${CMAKE_BINARY_DIR} -DAPP_ID=${SOREMUKA_APP_ID}
  -P ${CMAKE_SOURCE_DIR}/tests/install_tree.cmake)

add_test(NAME ReadmePictures COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
  -P ${CMAKE_SOURCE_DIR}/tests/readme_pictures.cmake)

# make deb: soremuka_VERSION_ARCH.deb in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME soremuka)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${SOREMUKA_MAINTAINER}")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SOREMUKA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps; the Japanese font is asked for by
# name and never linked, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
file(READ ${CMAKE_SOURCE_DIR}/assets/debian/description DESCRIPTION)
string(STRIP "${DESCRIPTION}" DESCRIPTION)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${DESCRIPTION}")
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/DebWithoutLdconfig.cmake)
include(CPack)
