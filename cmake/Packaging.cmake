# The Debian package (cpack -G DEB, see scripts/build-deb.sh): what `cmake --install` puts in
# place under /usr, its library dependencies found in the binaries, and what the program needs
# at run time that no binary names: a General MIDI SoundFont and the Qt platform plugins.
include(GNUInstallDirs)

set(SHUFFLON_MAINTAINER "Shufflon developers <shufflon@example.org>" CACHE STRING
    "Maintainer named in the Debian package")

# Debian wants a copyright file, a changelog and a manual page with every package.
set(_debian ${PROJECT_SOURCE_DIR}/src/res/debian)
set(_built ${PROJECT_BINARY_DIR}/debian)
configure_file(${_debian}/changelog ${_built}/changelog @ONLY)
configure_file(${_debian}/shufflon.1 ${_built}/shufflon.1 @ONLY)
add_custom_command(OUTPUT ${_built}/changelog.gz ${_built}/shufflon.1.gz
  COMMAND gzip -9nfk ${_built}/changelog ${_built}/shufflon.1
  DEPENDS ${_built}/changelog ${_built}/shufflon.1)
add_custom_target(shufflon_debian_docs ALL DEPENDS ${_built}/changelog.gz ${_built}/shufflon.1.gz)
install(FILES ${_debian}/copyright ${_built}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/shufflon)
install(FILES ${_built}/shufflon.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME shufflon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "MIDI jukebox that plays the MIDI files of a folder")
set(CPACK_PACKAGE_DESCRIPTION "Started in a folder, Shufflon finds every .mid, .rmi and .kar file in that
folder and the folders below it, lists them, and plays them one after another,
shuffled or in list order, through a General MIDI synthesiser. It marks the
songs it has played, can play only the first seconds of each, sits in the
tray, and answers the desktop's media keys and media controls (MPRIS).")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SHUFFLON_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fluid-soundfont-gm | timgm6mb-soundfont | musescore-general-soundfont-small, qt6-qpa-plugins")
# The menu entry finds the music folder with xdg-user-dir; without it, it starts in the home folder.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-user-dirs, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
