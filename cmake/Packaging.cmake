# What `cmake --install` puts in place, and the Debian package that CPack builds from it: the program,
# its desktop entry, icons, AppStream metadata, man page, copyright file and changelog.
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

# The licence and the changelog, where Debian keeps them: the copyright file in Debian's
# machine-readable format, made from LICENSE, and the changelog (kept in Debian's format, as the
# package is the project's own) compressed like the man page.
set(MARTOOL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/martool)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE
                                                             ${PROJECT_SOURCE_DIR}/CHANGELOG)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE MARTOOL_LICENSE)
if(NOT MARTOOL_LICENSE MATCHES "^MIT License\n\nCopyright \\(c\\) ([^\n]+)\n\n(.*[^\n])\n*$")
    message(FATAL_ERROR "LICENSE is not the MIT licence with one copyright line")
endif()
set(MARTOOL_COPYRIGHT_HOLDERS "${CMAKE_MATCH_1}")
# In the copyright file a licence's text is indented by a blank, and an empty line is " .".
string(REPLACE "\n\n" "\n.\n" MARTOOL_LICENSE_TEXT "${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " MARTOOL_LICENSE_TEXT " ${MARTOOL_LICENSE_TEXT}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: martool
Upstream-Contact: Marloven <martool@marloven.org>
Source: https://marloven.org/martool/

Files: *
Copyright: ${MARTOOL_COPYRIGHT_HOLDERS}
License: Expat
${MARTOOL_LICENSE_TEXT}
")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright DESTINATION ${MARTOOL_DOC_DIR})

file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG MARTOOL_LATEST_CHANGE LIMIT_COUNT 1)
if(NOT MARTOOL_LATEST_CHANGE MATCHES "^martool \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "CHANGELOG's latest entry is not for version ${PROJECT_VERSION}: ${MARTOOL_LATEST_CHANGE}")
endif()
set(MARTOOL_CHANGELOG_GZ ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${MARTOOL_CHANGELOG_GZ}
                   COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/CHANGELOG > ${MARTOOL_CHANGELOG_GZ}
                   DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG VERBATIM)
add_custom_target(martool_changelog ALL DEPENDS ${MARTOOL_CHANGELOG_GZ})
install(FILES ${MARTOOL_CHANGELOG_GZ} DESTINATION ${MARTOOL_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME martool)
set(CPACK_PACKAGE_VENDOR Marloven)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "serial-line debugging terminal")
# Debian wants the lines of the long description no longer than 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Marloven Debug Utility opens one serial port, sets its speed, framing and\n\
flow control, sends what is typed onto the line and shows what comes back.\n\
The status bar shows the modem lines and the driver's byte counts; DTR and\n\
RTS can be switched by hand. A built-in loopback plug (COM255) lets the\n\
program be tried without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Marloven <martool@marloven.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://marloven.org/martool/)
# Depends comes from the libraries the program links, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
