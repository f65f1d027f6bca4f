# The files that make Quillet a desktop application, named by its application ID: the desktop
# entry, the AppStream metainfo and the file type of resource files. Made from the templates in
# data/ so that the ID, the version and the release date are written once, in CMakeLists.txt.
set(QUILLET_DESKTOP_FILE ${PROJECT_BINARY_DIR}/data/${QUILLET_APP_ID}.desktop)
set(QUILLET_METAINFO_FILE ${PROJECT_BINARY_DIR}/data/${QUILLET_APP_ID}.metainfo.xml)
set(QUILLET_MIME_FILE ${PROJECT_BINARY_DIR}/data/${QUILLET_APP_ID}.xml)
configure_file(${PROJECT_SOURCE_DIR}/data/quillet.desktop.in ${QUILLET_DESKTOP_FILE} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/quillet.metainfo.xml.in ${QUILLET_METAINFO_FILE} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/quillet-mime.xml.in ${QUILLET_MIME_FILE} @ONLY)
