# A command with a help of its own gets it in the page's COMMANDS section, as it is; a command
# whose help is the general one gets nothing there.
set(program "${SCRATCH}/fake-cli")
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
file(COPY "${CMAKE_CURRENT_LIST_DIR}/fake_cli.sh" DESTINATION "${SCRATCH}")
file(RENAME "${SCRATCH}/fake_cli.sh" "${program}")
file(WRITE "${SCRATCH}/fake-cli.h2m" "[SEE ALSO]\nnothing\n")
execute_process(
  COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${HELP2MAN} -DPROGRAM=${program} -DDESCRIPTION=a\ fake
          -DINCLUDE=${SCRATCH}/fake-cli.h2m -DOUTPUT=${SCRATCH}/fake-cli.1 -P ${SOURCE}/cmake/MakeManPage.cmake
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the page was not made")
endif()
file(READ "${SCRATCH}/fake-cli.1" page)
file(REMOVE_RECURSE "${SCRATCH}")

set(expected
  ".SH COMMANDS\n.SS \"texts export\"\n.PP\n.nf\nUsage: fake-cli texts export [--po] FILE\n"
  "\\&.TH a line that starts with a dot\n\\&'also one with a quote\na back\\eslash and --format FORMAT\n.fi\n")
string(CONCAT expected ${expected})
string(FIND "${page}" "${expected}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the page lacks the command's own help, as it is:\n${page}")
endif()
if(page MATCHES "\\.SS \"list\"")
  message(FATAL_ERROR "a command whose help is the general one has a section of its own:\n${page}")
endif()
