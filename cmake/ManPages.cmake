# The manual pages are made from the programs' own --help and --version by help2man whenever a
# program is built, so they say what the programs say. The texts of data/man/ add what --help
# does not hold (see also, copyright).
if(NOT QUILLET_MANPAGES)
  return()
endif()
find_program(QUILLET_HELP2MAN help2man)
if(NOT QUILLET_HELP2MAN)
  message(FATAL_ERROR "The manual pages need help2man: install it (./scripts/install-deps.sh does) "
                      "or configure with -DQUILLET_MANPAGES=OFF")
endif()

set(QUILLET_MAN_PAGES "")
function(quillet_man_page target description)
  set(page ${PROJECT_BINARY_DIR}/man/${target}.1)
  set(include ${PROJECT_SOURCE_DIR}/data/man/${target}.h2m)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${QUILLET_HELP2MAN} -DPROGRAM=$<TARGET_FILE:${target}>
            -DDESCRIPTION=${description} -DINCLUDE=${include} -DOUTPUT=${page}
            -P ${PROJECT_SOURCE_DIR}/cmake/MakeManPage.cmake
    DEPENDS ${target} ${include} ${PROJECT_SOURCE_DIR}/cmake/MakeManPage.cmake
            ${PROJECT_SOURCE_DIR}/cmake/HelpCommands.cmake
    COMMENT "Making the manual page of ${target}"
    VERBATIM)
  list(APPEND QUILLET_MAN_PAGES ${page})
  set(QUILLET_MAN_PAGES ${QUILLET_MAN_PAGES} PARENT_SCOPE)
endfunction()

quillet_man_page(quillet-cli "read, change and write resource files from scripts")
if(TARGET quillet)
  quillet_man_page(quillet "edit binary resource files byte by byte")
endif()
add_custom_target(man_pages ALL DEPENDS ${QUILLET_MAN_PAGES})
