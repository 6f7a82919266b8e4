# Install rules and the Debian package: `cmake --install` puts the program,
# its help, manual page, completion, desktop entry, icon and metainfo in the
# usual places; `cpack` (or `make package` at the top) builds the .deb with
# its dependencies computed by dpkg-shlibdeps.
include(GNUInstallDirs)

set(TC101_APPSTREAM_ID io.tc101tool.tc101tool)
set(_pkg ${PROJECT_SOURCE_DIR}/packaging)
set(_doc ${CMAKE_INSTALL_DATADIR}/doc/tc101tool)

install(TARGETS tc101tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${_pkg}/tc101tool.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_pkg}/tc101tool.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tc101tool)
install(FILES ${_pkg}/tc101tool.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_pkg}/tc101tool.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${_pkg}/${TC101_APPSTREAM_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/app/window/help/tc101tool-help.html
        DESTINATION ${_doc})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${_doc}/docs)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tc101tool)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "tc101tool")
set(CPACK_PACKAGE_CONTACT "tc101tool maintainers <tc101tool@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "master station for testing serial IEC 60870-5-101 links")
set(CPACK_PACKAGE_DESCRIPTION "Plays the master station of an unbalanced IEC 60870-5-101 link on a serial\n"
    "port or a serial device server: standard requests, polling, own hex messages,\n"
    "a decoded traffic log, value tables, pcapng captures and an outstation simulator.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "tshark, socat")
set(CPACK_STRIP_FILES ON)
include(CPack)
