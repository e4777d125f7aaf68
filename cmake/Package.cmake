# Installation and the Debian package (`make package`): the executable (and kalmo-settings,
# installed from its own folder), the program's data folder (share/kalmo), a desktop entry, a
# systemd user unit for a desktop session and a system unit for the console with the cage
# kiosk compositor.
include(GNUInstallDirs)
install(TARGETS kalmo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kalmo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kalmo.service
        DESTINATION lib/systemd/user)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kalmo-cage.service
        DESTINATION lib/systemd/system)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalmo)
set(CPACK_PACKAGE_VENDOR "Kalmo")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT "Kalmo maintainers <kalmo@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries do not pull in by themselves: video codecs, the fonts the layouts name,
# xset for the screen saver, the PDF viewer's resources.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "vlc-plugin-base, fonts-liberation, fonts-dejavu-core, x11-xserver-utils")
# The console without a desktop: the kiosk compositor and Qt's Wayland platform.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cage, qt6-wayland")
include(CPack)
