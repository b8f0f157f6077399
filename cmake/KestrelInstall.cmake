# Installing: PREFIX/bin holds the two programs, PREFIX/share/kestrel the
# shipped data (found there by the programs), and the desktop entry, icon and
# AppStream metadata go where desktops look for them.
include(GNUInstallDirs)

if(TARGET kestrel)
  install(TARGETS kestrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS kestrel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrel
  PATTERN ".keep" EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.kestrelthornby.Kestrel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kestrel.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.kestrelthornby.Kestrel.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# make deb: a Debian package of the same layout under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrel-thornby)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kestrel Thornby")
set(CPACK_PACKAGE_CONTACT "Kestrel Thornby developers <kestrel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Draughts and checkers in twelve variants: engine, game database, editor")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
