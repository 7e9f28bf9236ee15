# cmake --install puts a working mailzolka in bin/ with its manual page and bash completion.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} OUTPUT_QUIET
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()
execute_process(COMMAND ${PREFIX}/bin/mailzolka --version OUTPUT_VARIABLE version RESULT_VARIABLE failed)
if(failed OR NOT version MATCHES "^mailzolka [0-9]+\\.[0-9]+\n$")
  message(FATAL_ERROR "installed mailzolka --version: '${version}'")
endif()
execute_process(COMMAND ${PREFIX}/bin/mailzolka list --view 5 ${SAMPLE} OUTPUT_VARIABLE tree
  RESULT_VARIABLE failed)
if(failed OR NOT tree MATCHES "session.log")
  message(FATAL_ERROR "the installed mailzolka does not find its add-in: '${tree}'")
endif()
foreach(file share/man/man1/mailzolka.1 share/bash-completion/completions/mailzolka)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
# The completion offers the commands, a command's options and the --view values.
set(complete [=[
source "$1"
c() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _mailzolka; echo "${COMPREPLY[*]}"; }
c mailzolka r; c mailzolka list --view ''; c mailzolka register --
]=])
execute_process(COMMAND bash -c "${complete}" bash ${PREFIX}/share/bash-completion/completions/mailzolka
  OUTPUT_VARIABLE offered RESULT_VARIABLE failed)
if(failed OR NOT offered STREQUAL "register\nreceived received-by-id sent sent-by-id by-id 1 2 3 4 5\n--help --addin --encoding --window --profile-dir\n")
  message(FATAL_ERROR "the bash completion offers '${offered}'")
endif()
