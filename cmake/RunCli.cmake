# Runs one qmxcli case for ctest: EXE, ARGS (items joined by "@@"), EXIT (expected status), STDOUT and STDERR
# (regular expressions that must match, when given).
string(REPLACE "@@" ";" ARGS "${ARGS}")
execute_process(COMMAND ${EXE} ${ARGS} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc STREQUAL EXIT)
  message(FATAL_ERROR "exit status ${rc}, expected ${EXIT}\nstdout: ${out}\nstderr: ${err}")
endif()
if(STDOUT AND NOT out MATCHES "${STDOUT}")
  message(FATAL_ERROR "stdout does not match ${STDOUT}:\n${out}")
endif()
if(STDERR AND NOT err MATCHES "${STDERR}")
  message(FATAL_ERROR "stderr does not match ${STDERR}:\n${err}")
endif()
