# Formats a manual page with warnings on; any warning fails.
execute_process(COMMAND ${GROFF} -man -ww -z ${PAGE} RESULT_VARIABLE rc ERROR_VARIABLE warnings)
if(NOT rc EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "${PAGE}: ${rc}\n${warnings}")
endif()
