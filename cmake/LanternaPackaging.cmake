# What an installation holds beside the programs (app/ and tools/ install those): the manual
# pages, the bash completion of lanternactl and the AppStream metadata; and the Debian package
# that `cpack -G DEB` makes of it all.
include(GNUInstallDirs)

# Manual pages carry the project's version: written into the source pages too, so that a page
# read from the source tree names it (docs_manual_pages checks that it is the project's), and put
# in at configure time all the same; installed compressed, as Debian has them.
set(LANTERNA_MAN_DIR ${PROJECT_BINARY_DIR}/man)
set(manual_pages lanternactl lanterna-projector-sim)
if(LANTERNA_WITH_UI)
    list(APPEND manual_pages lanterna)
endif()
set(compressed_pages "")
foreach(page IN LISTS manual_pages)
    set(source_page ${PROJECT_SOURCE_DIR}/docs/man/${page}.1)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source_page})
    file(READ ${source_page} page_text)
    string(REGEX REPLACE "\"Lanterna [^\"\n]*\"" "\"Lanterna @PROJECT_VERSION@\"" page_text
           "${page_text}")
    file(CONFIGURE OUTPUT ${LANTERNA_MAN_DIR}/${page}.1 CONTENT "${page_text}" @ONLY)
    add_custom_command(OUTPUT ${LANTERNA_MAN_DIR}/${page}.1.gz
        COMMAND gzip -9 -n -k -f ${LANTERNA_MAN_DIR}/${page}.1
        DEPENDS ${LANTERNA_MAN_DIR}/${page}.1
        COMMENT "Manual page ${page}(1)")
    list(APPEND compressed_pages ${LANTERNA_MAN_DIR}/${page}.1.gz)
endforeach()
add_custom_target(lanterna-manual-pages ALL DEPENDS ${compressed_pages})
install(FILES ${compressed_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${PROJECT_SOURCE_DIR}/resources/completion/lanternactl.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME lanternactl)

if(LANTERNA_WITH_UI)
    set(LANTERNA_APPSTREAM_ID org.lanterna.lanterna)
    set(LANTERNA_METAINFO ${PROJECT_BINARY_DIR}/${LANTERNA_APPSTREAM_ID}.metainfo.xml)
    configure_file(${PROJECT_SOURCE_DIR}/resources/desktop/lanterna.metainfo.xml.in
                   ${LANTERNA_METAINFO} @ONLY)
    install(FILES ${LANTERNA_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# The watch as a service: its systemd unit and an example configuration.
install(FILES ${PROJECT_SOURCE_DIR}/resources/watch/lanterna-watch.service
        DESTINATION lib/systemd/system)
install(FILES ${PROJECT_SOURCE_DIR}/resources/watch/watch.ini
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lanterna/examples)

# The Debian package: lanterna_VERSION_ARCH.deb, its dependencies computed from the programs.
set(LANTERNA_PACKAGE_MAINTAINER "Lanterna developers <lanterna@example.org>"
    CACHE STRING "Maintainer field of the Debian package (Name <address>)")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lanterna)
set(CPACK_PACKAGE_VENDOR "The Lanterna developers")
set(CPACK_PACKAGE_CONTACT "${LANTERNA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Lanterna finds the video projectors on a local network and sets up their
network interface: the wired LAN (name, DHCP, addresses, DNS and WINS
servers), mail notification, SNMP traps, the wireless LAN and the projector
password. It saves and applies settings files and writes enciphered network
configuration files.
.
The package holds the desktop program (lanterna), its command-line companion
for one projector or many at once (lanternactl, whose watch command keeps an
unattended watch as a systemd service: presence, backups in git, metrics for
Prometheus and alert mails), and a simulator of projector network modules for
trying both without projectors (lanterna-projector-sim).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LANTERNA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries the programs link: Qt's translations, so that Qt's own dialogs and
# buttons in the Korean window are Korean too (the computed dependencies are added to these).
# The keyring's client library (libsecret) is loaded on first use, not linked, so the computed
# dependencies miss it: it is named here. The watch keeps its backups with the git program
# (libmicrohttpd and libcurl, which it links, come with the computed dependencies). The keyring
# itself is the Secret Service of the desktop session, which the package only suggests;
# Prometheus scrapes the watch's metrics.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, libsecret-1-0, git")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gnome-keyring, prometheus")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
