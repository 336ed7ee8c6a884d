# Runs the converter and compares its output, byte for byte, with the expected table, and its
# standard error with the expected messages (none where no file names them): on one input
# through standard input, or on the files given as arguments in the source directory.
#   cmake -DPROGRAM=... [-DEMULATOR=a|b] [-DARGUMENTS=a|b] [-DINPUT=...] -DEXPECTED=...
#         [-DEXPECTED_ERRORS=...] [-DDIRECTORY=...] [-DWRITTEN=... -DEXPECTED_WRITTEN=...] -P this
string(REPLACE "|" ";" emulator "${EMULATOR}")
string(REPLACE "|" ";" arguments "${ARGUMENTS}")
set(input)
if(INPUT)
  set(input INPUT_FILE ${INPUT})
endif()
if(NOT DIRECTORY)
  set(DIRECTORY .)
endif()
execute_process(COMMAND ${emulator} ${PROGRAM} --convert ${arguments} ${input}
                WORKING_DIRECTORY ${DIRECTORY}
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
set(expected_errors "")
if(EXPECTED_ERRORS)
  file(READ ${EXPECTED_ERRORS} expected_errors)
endif()
# Windows' console writes its line ends as CR LF.
string(REPLACE "\r\n" "\n" errors "${errors}")
if(NOT status EQUAL 0 OR NOT errors STREQUAL expected_errors)
  message(FATAL_ERROR "exit status ${status}, standard error:\n${errors}\nexpected:\n${expected_errors}")
endif()
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "got:\n${output}\nexpected:\n${expected}")
endif()
# And the file that the arguments had it write, as the chart of --chart.
if(WRITTEN)
  file(READ ${WRITTEN} written)
  file(READ ${EXPECTED_WRITTEN} expected_written)
  file(REMOVE ${WRITTEN})
  if(NOT written STREQUAL expected_written)
    message(FATAL_ERROR "${WRITTEN} is not ${EXPECTED_WRITTEN}:\n${written}")
  endif()
endif()
