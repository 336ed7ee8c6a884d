# Runs the converter on one input through standard input and compares its output, byte for byte,
# with the expected table:
#   cmake -DPROGRAM=... [-DEMULATOR=a|b] [-DARGUMENTS=a|b] -DINPUT=... -DEXPECTED=... -P this
string(REPLACE "|" ";" emulator "${EMULATOR}")
string(REPLACE "|" ";" arguments "${ARGUMENTS}")
execute_process(COMMAND ${emulator} ${PROGRAM} --convert ${arguments}
                INPUT_FILE ${INPUT} OUTPUT_VARIABLE output ERROR_VARIABLE errors
                RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
if(NOT status EQUAL 0 OR NOT errors STREQUAL "")
  message(FATAL_ERROR "exit status ${status}, standard error:\n${errors}")
endif()
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "got:\n${output}\nexpected:\n${expected}")
endif()
