# Installs the programs and their manual pages and, with the window, what makes Quillet a desktop
# application: a menu entry, the AppStream metainfo, the icon and the file type of resource
# files, so that software centres list it and file managers open "*.rsc" files with it.
include(GNUInstallDirs)

install(TARGETS quillet-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET quillet)
  install(TARGETS quillet RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${QUILLET_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${QUILLET_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${PROJECT_SOURCE_DIR}/src/app/qt/icons/quillet.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${QUILLET_APP_ID}.svg)
  install(FILES ${QUILLET_MIME_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
endif()
if(QUILLET_MANPAGES)
  install(FILES ${QUILLET_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
