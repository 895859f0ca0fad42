# Runs PROGRAM with ARGS and checks its exit code and that standard error names EXPECT_ERROR
# on a single line.
execute_process(COMMAND ${PROGRAM} ${ARGS} RESULT_VARIABLE code OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT code EQUAL EXPECT_CODE)
  message(FATAL_ERROR "exit code ${code}, expected ${EXPECT_CODE}")
endif()
string(REGEX MATCHALL "\n" newlines "${err}")
list(LENGTH newlines lines)
if(NOT err MATCHES "${EXPECT_ERROR}" OR NOT lines EQUAL 1)
  message(FATAL_ERROR "expected one line naming '${EXPECT_ERROR}', got: ${err}")
endif()
