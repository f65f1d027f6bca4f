# Installs the program as a desktop application: the tools, a menu entry, the icon and the
# file type of resource files, so that file managers open "*.rsc" files with Quillet.
include(GNUInstallDirs)

install(TARGETS quillet-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET quillet)
  install(TARGETS quillet RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${PROJECT_SOURCE_DIR}/data/quillet.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/qt/icons/quillet.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/data/quillet-mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME quillet.xml)
