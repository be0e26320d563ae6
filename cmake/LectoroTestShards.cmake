# Run after a test program is linked (cmake -P): lists its tests and writes the CTest file that
# runs them in shards, GoogleTest's own GTEST_TOTAL_SHARDS / GTEST_SHARD_INDEX, one process each.
# -DPROGRAM=<test program> -DNAME=<CTest name stem> -DOUTPUT=<CTest file to write>
# -DTESTS_PER_SHARD=<n> -DTIMEOUT=<seconds a shard may take> -DWORKING_DIRECTORY=<dir>
# [-DLAUNCHER=<command the program runs under, a list>]
execute_process(COMMAND ${LAUNCHER} ${PROGRAM} --gtest_list_tests
  WORKING_DIRECTORY ${WORKING_DIRECTORY}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE listing
  ERROR_VARIABLE errors
  TIMEOUT 120)
if(NOT result EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "${PROGRAM} --gtest_list_tests failed (${result}):\n${listing}${errors}")
endif()

# A test is an indented line (a parameter's value, after '#', may hold anything, ';' too).
string(REPLACE ";" "" listing "${listing}")
string(REGEX MATCHALL "\n  [^\n]*" tests "\n${listing}")
list(LENGTH tests count)
math(EXPR shards "(${count} + ${TESTS_PER_SHARD} - 1) / ${TESTS_PER_SHARD}")
if(shards LESS 1)
  set(shards 1)
endif()

set(command)
foreach(word ${LAUNCHER} ${PROGRAM})
  string(APPEND command " [==[${word}]==]")
endforeach()
set(text "# ${NAME}: ${count} tests in ${shards} shards, written when the program was linked.\n")
foreach(shard RANGE 1 ${shards})
  math(EXPR index "${shard} - 1")
  set(test "${NAME}-${shard}/${shards}")
  string(APPEND text
    "add_test([==[${test}]==]${command})\n"
    "set_tests_properties([==[${test}]==] PROPERTIES"
    " ENVIRONMENT [==[GTEST_TOTAL_SHARDS=${shards};GTEST_SHARD_INDEX=${index}]==]"
    " WORKING_DIRECTORY [==[${WORKING_DIRECTORY}]==] TIMEOUT ${TIMEOUT} LABELS [==[${NAME}]==])\n")
endforeach()
file(WRITE ${OUTPUT} "${text}")
