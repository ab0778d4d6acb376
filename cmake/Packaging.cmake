# What `cmake --install` puts in place, and the Debian package that CPack builds from it: the program,
# its desktop entry, icons, AppStream metadata and man page.
include(GNUInstallDirs)

set(MARTOOL_APP_ID org.marloven.DebugUtility)
set(MARTOOL_DATA ${PROJECT_SOURCE_DIR}/data)

install(TARGETS martool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${MARTOOL_DATA}/${MARTOOL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MARTOOL_DATA}/${MARTOOL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${MARTOOL_DATA}/icons/${MARTOOL_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${MARTOOL_DATA}/icons/png/${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${MARTOOL_APP_ID}.png)
endforeach()

# Man pages go in compressed, as Debian has them; -n keeps the archive free of the build's time.
set(MARTOOL_MAN_GZ ${CMAKE_CURRENT_BINARY_DIR}/martool.1.gz)
add_custom_command(OUTPUT ${MARTOOL_MAN_GZ}
                   COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/docs/martool.1 > ${MARTOOL_MAN_GZ}
                   DEPENDS ${PROJECT_SOURCE_DIR}/docs/martool.1 VERBATIM)
add_custom_target(martool_man ALL DEPENDS ${MARTOOL_MAN_GZ})
install(FILES ${MARTOOL_MAN_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME martool)
set(CPACK_PACKAGE_VENDOR Marloven)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "serial-line debugging terminal")
set(CPACK_PACKAGE_DESCRIPTION
    "Marloven Debug Utility opens one serial port, sets its speed, framing and flow control, sends\n\
what is typed onto the line and shows what comes back. The status bar shows the modem lines and the\n\
driver's byte counts; DTR and RTS can be switched by hand. A built-in loopback plug (COM255) lets\n\
the program be tried without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Marloven <martool@marloven.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://marloven.org/martool/)
# Depends comes from the libraries the program links, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
