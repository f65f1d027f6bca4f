# The translations: the window's texts in Qt Linguist files (translations/quillet_LANGUAGE.ts)
# and the core's messages in gettext files (po/LANGUAGE.po, from po/quillet.pot). Both are
# compiled into "locale" beside the programs, where the window finds them when it runs from the
# build folder, and installed where it finds them otherwise (src/CMakeLists.txt names the
# folders). Only the window speaks them: quillet-cli stays English for the scripts that read it.
#
# `cmake --build build --target update_translations` brings the .ts and .po files up to date
# with the sources (CONTRIBUTING.md: "Translations").
if(NOT TARGET quillet)
  return()
endif()

# The languages, for both kinds of file.
set(QUILLET_LANGUAGES de)

include(GNUInstallDirs)
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)
find_package(Gettext REQUIRED)
find_program(QUILLET_XGETTEXT xgettext REQUIRED)
set(QUILLET_LOCALE_BUILD_DIR ${PROJECT_BINARY_DIR}/locale)

# The window's texts: every tr() of the Qt folders and of the program's main().
set(QUILLET_TS_FILES "")
foreach(language IN LISTS QUILLET_LANGUAGES)
  list(APPEND QUILLET_TS_FILES ${PROJECT_SOURCE_DIR}/translations/quillet_${language}.ts)
endforeach()
set_source_files_properties(${QUILLET_TS_FILES} PROPERTIES OUTPUT_LOCATION ${QUILLET_LOCALE_BUILD_DIR})
file(GLOB QUILLET_WINDOW_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*/qt/*.cpp ${PROJECT_SOURCE_DIR}/src/*/qt/*.h)
qt6_add_translations(quillet TS_FILES ${QUILLET_TS_FILES} SOURCES ${QUILLET_WINDOW_SOURCES}
  INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/src
  QM_FILES_OUTPUT_VARIABLE QUILLET_QM_FILES
  # Without line numbers, a change of the code changes the .ts files only where a text changes.
  LUPDATE_OPTIONS -locations none -no-obsolete)
install(FILES ${QUILLET_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/quillet/translations)

# The core's messages: the texts marked with translated(), translatedPlural() and
# markedForTranslation() (model/translated.h).
set(QUILLET_XGETTEXT_KEYWORDS --keyword --keyword=translated --keyword=translatedPlural:1,2
    --keyword=markedForTranslation)
file(GLOB QUILLET_CORE_SOURCES CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
  src/model/*.cpp src/model/*.h src/views/*.cpp src/views/*.h src/search/*.cpp src/search/*.h
  src/app/*.cpp src/app/*.h)
list(SORT QUILLET_CORE_SOURCES)
set(QUILLET_POT ${PROJECT_SOURCE_DIR}/po/quillet.pot)
set(QUILLET_MO_FILES "")
set(QUILLET_PO_UPDATES "")
foreach(language IN LISTS QUILLET_LANGUAGES)
  set(po ${PROJECT_SOURCE_DIR}/po/${language}.po)
  set(mo ${QUILLET_LOCALE_BUILD_DIR}/${language}/LC_MESSAGES/quillet.mo)
  add_custom_command(OUTPUT ${mo}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLET_LOCALE_BUILD_DIR}/${language}/LC_MESSAGES
    COMMAND ${GETTEXT_MSGFMT_EXECUTABLE} --check --output-file=${mo} ${po}
    DEPENDS ${po}
    COMMENT "Compiling the ${language} messages of the core"
    VERBATIM)
  list(APPEND QUILLET_MO_FILES ${mo})
  list(APPEND QUILLET_PO_UPDATES
    COMMAND ${GETTEXT_MSGMERGE_EXECUTABLE} --quiet --update --backup=none --no-fuzzy-matching ${po} ${QUILLET_POT})
  install(FILES ${mo} DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${language}/LC_MESSAGES)
endforeach()
add_custom_target(quillet_messages DEPENDS ${QUILLET_MO_FILES})
add_dependencies(quillet quillet_messages)

add_custom_target(update_core_translations
  COMMAND ${QUILLET_XGETTEXT} --from-code=UTF-8 --language=C++ ${QUILLET_XGETTEXT_KEYWORDS}
          # "%n" is the count, not C's %n.
          --flag=translatedPlural:1:no-c-format --flag=translatedPlural:2:no-c-format
          --add-comments=TRANSLATORS: --add-location=file
          --package-name=quillet --package-version=${PROJECT_VERSION} --msgid-bugs-address=quillet@dovrel.org
          --output=${QUILLET_POT} ${QUILLET_CORE_SOURCES}
  ${QUILLET_PO_UPDATES}
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Extracting the core's messages into po/"
  VERBATIM)
add_dependencies(update_translations update_core_translations)
