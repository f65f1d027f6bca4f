# Checks that every .ts and .po file translates every text the sources hold now, with no entry
# left unfinished or untranslated (cmake -DSOURCE=... -DSCRATCH=... -DLUPDATE=... -DXGETTEXT=...
# -DKEYWORDS=... -DCORE_SOURCES=... -DTS_FILES=... -DLANGUAGES=... -P translations_complete.cmake). It brings a copy of each file up
# to date with the sources the way `update_translations` does and looks at the copy, so a text
# added to the code without its translation fails here.
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
set(problems "")

file(GLOB window_sources "${SOURCE}/src/*/qt/*.cpp" "${SOURCE}/src/*/qt/*.h")
foreach(ts IN LISTS TS_FILES)
  get_filename_component(name "${ts}" NAME)
  configure_file("${ts}" "${SCRATCH}/${name}" COPYONLY)
  execute_process(COMMAND "${LUPDATE}" -silent -I "${SOURCE}/src" -locations none -no-obsolete ${window_sources}
                          -ts "${SCRATCH}/${name}"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${name}")
  endif()
  file(STRINGS "${SCRATCH}/${name}" unfinished REGEX "type=\"unfinished\"")
  list(LENGTH unfinished count)
  if(count GREATER 0)
    string(APPEND problems "${name}: ${count} texts without a finished translation\n")
  endif()
endforeach()

execute_process(COMMAND "${XGETTEXT}" --from-code=UTF-8 --language=C++ ${KEYWORDS} --output=${SCRATCH}/quillet.pot
                        ${CORE_SOURCES}
                WORKING_DIRECTORY "${SOURCE}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "xgettext failed")
endif()
get_filename_component(gettext_bin "${XGETTEXT}" DIRECTORY)
foreach(language IN LISTS LANGUAGES)
  # msgcmp counts an untranslated or fuzzy entry as missing.
  execute_process(COMMAND "${gettext_bin}/msgcmp" "${SOURCE}/po/${language}.po" "${SCRATCH}/quillet.pot"
                  RESULT_VARIABLE status ERROR_VARIABLE missing)
  if(NOT status EQUAL 0)
    string(APPEND problems "po/${language}.po:\n${missing}")
  endif()
  execute_process(COMMAND "${gettext_bin}/msgattrib" --only-fuzzy "${SOURCE}/po/${language}.po"
                  OUTPUT_VARIABLE fuzzy)
  if(NOT fuzzy STREQUAL "")
    string(APPEND problems "po/${language}.po: fuzzy entries\n")
  endif()
endforeach()

file(REMOVE_RECURSE "${SCRATCH}")
if(NOT problems STREQUAL "")
  message(FATAL_ERROR "Unfinished translations (cmake --build BUILD --target update_translations, then "
                      "translate):\n${problems}")
endif()
