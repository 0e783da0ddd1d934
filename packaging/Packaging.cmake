# Installing the program like any other on a Linux desktop (cmake --install), and the Debian package
# made from that (cpack -G DEB).
include(GNUInstallDirs)

set(BRINDLE_APP_ID org.brindledx.BrindleDX)
set(BRINDLE_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})

install(TARGETS brindle RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program finds these from its own folder as ../share/brindle-dx (see WorkingFolder.h), so the
# data folder must stay beside bin/ whatever the prefix.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/brindle-dx)
install(FILES ${BRINDLE_PACKAGING_DIR}/${BRINDLE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${BRINDLE_PACKAGING_DIR}/${BRINDLE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES ${BRINDLE_PACKAGING_DIR}/icons/${BRINDLE_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
    install(FILES ${BRINDLE_PACKAGING_DIR}/icons/${BRINDLE_APP_ID}-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps RENAME ${BRINDLE_APP_ID}.png)
endforeach()

set(CPACK_PACKAGE_NAME brindle-dx)
set(CPACK_PACKAGE_VENDOR "KORVA Software")
set(CPACK_PACKAGE_CONTACT "Brindle DX <brindle@brindledx.example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://brindledx.example.org")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "contest logger for the ARRL International DX Contest")
set(CPACK_PACKAGE_DESCRIPTION
    "Brindle DX logs the ARRL International DX Contest for stations outside the USA and Canada: one entry form for thousands of contacts, CW and voice keying from the function keys, rig control, cluster spots, and a Cabrillo file for the sponsor afterwards.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY brindle-dx)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt and flite libraries are found by dpkg-shlibdeps from what the program links. What it loads at
# run time is named here: the GStreamer plugins that play the wave files and reach the sound server.
# (The X11 window-system plugin comes with Qt's own libqt6gui6.)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-pulseaudio")
# rigctld, for radios driven through Hamlib rather than the program's own serial commands; Qt's Wayland
# plugin, without which a Wayland desktop shows the window through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libhamlib-utils, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "direwolf")
include(CPack)
