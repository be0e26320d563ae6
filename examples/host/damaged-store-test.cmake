# Runs lectoro-host twice on one storage folder, writing 8 KB of random bytes into the
# middle of the store between the runs. The second run must hear of the damaged store (kept
# beside a fresh one) and exit with 4, never report success over it.
# -DHOST=<program> -DWORK=<folder>
string(RANDOM LENGTH 12 suffix)
set(storage "${WORK}/damaged-store-${suffix}")
file(REMOVE_RECURSE "${storage}")
file(MAKE_DIRECTORY "${storage}")

execute_process(COMMAND ${HOST} --storage ${storage} RESULT_VARIABLE code OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "the first run exited with '${code}':\n${output}${errors}")
endif()

set(database "${storage}/lectoro-store.sqlite")
file(SIZE "${database}" size)
math(EXPR offset "${size} / 2 - 4096")
if(offset LESS 4096)
  message(FATAL_ERROR "the store is too small (${size} bytes) to damage its middle")
endif()
execute_process(COMMAND dd if=/dev/urandom of=${database} bs=1 seek=${offset} count=8192 conv=notrunc
  RESULT_VARIABLE code ERROR_QUIET)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "dd failed with '${code}'")
endif()

execute_process(COMMAND ${HOST} --storage ${storage} RESULT_VARIABLE code OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message("${output}${errors}")
file(GLOB kept "${storage}/lectoro-store.damaged-*.sqlite")
file(REMOVE_RECURSE "${storage}")
if(NOT code EQUAL 4)
  message(FATAL_ERROR "lectoro-host exited with '${code}' over a damaged store, expected 4")
endif()
if(NOT output MATCHES "host: didLocalStoreFail: The store was damaged")
  message(FATAL_ERROR "the host was not told of the damaged store")
endif()
string(REGEX MATCHALL "didLocalStoreFail" heard "${output}")
list(LENGTH heard times)
if(NOT times EQUAL 1)
  message(FATAL_ERROR "the host heard of the store ${times} times, expected once")
endif()
if(NOT kept)
  message(FATAL_ERROR "the damaged store was not kept beside the fresh one")
endif()
