# Makes one manual page with help2man (run as a script: cmake -DHELP2MAN=... -DPROGRAM=...
# -DDESCRIPTION=... -DINCLUDE=... -DOUTPUT=... -P MakeManPage.cmake).
#
# A command named in the "Commands:" part of the program's help that has a help of its own
# (PROGRAM COMMAND --help prints something else than the general help) gets that help in the
# page's COMMANDS section, word for word; so the page follows the help as the commands get theirs.

# A text shown as it is, line for line, in roff.
function(roff_verbatim text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  string(REGEX REPLACE "\n$" "" text "${text}")
  set(${out} ".PP\n.nf\n${text}\n.fi\n" PARENT_SCOPE)
endfunction()

# The pages are English: the window's --help speaks the language of the locale.
set(ENV{LC_ALL} C.UTF-8)
unset(ENV{LANGUAGE})
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed: ${status}")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/HelpCommands.cmake)
quillet_help_commands("${help}" commands)
set(section "")
foreach(command IN LISTS commands)
  quillet_command_help("${PROGRAM}" "${command}" "${help}" own)
  if(own)
    roff_verbatim("${own}" text)
    string(APPEND section ".SS \"${command}\"\n${text}")
  endif()
endforeach()

get_filename_component(folder "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
set(includes --include "${INCLUDE}")
if(section)
  set(commandsInclude "${OUTPUT}.commands.h2m")
  file(WRITE "${commandsInclude}" "[COMMANDS]\n${section}")
  list(APPEND includes --include "${commandsInclude}")
endif()
execute_process(
  COMMAND ${HELP2MAN} --no-info --section 1 --name "${DESCRIPTION}" ${includes} --output "${OUTPUT}.new"
          "${PROGRAM}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed on ${PROGRAM}")
endif()
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
