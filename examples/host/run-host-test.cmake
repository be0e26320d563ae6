# Runs lectoro-host on one book folder and checks its exit code and output.
# -DHOST=<program> -DBOOK=<folder> -DEXPECTED_CODE=<n> -DEXPECTED_OUTPUT=<regex> [-DOPTION=<one more argument>]
execute_process(COMMAND ${HOST} --book ${BOOK} ${OPTION}
  RESULT_VARIABLE code
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
message("${output}${errors}")
if(NOT "${code}" STREQUAL "${EXPECTED_CODE}")
  message(FATAL_ERROR "lectoro-host exited with '${code}', expected ${EXPECTED_CODE}")
endif()
if(NOT output MATCHES "${EXPECTED_OUTPUT}")
  message(FATAL_ERROR "lectoro-host output lacks '${EXPECTED_OUTPUT}'")
endif()
