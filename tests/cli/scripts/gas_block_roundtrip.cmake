# Writes a mixture block with qmxcli gas --write-block, reads it back with --read-block (from the
# file and from standard input) and requires the same JSON from all three runs.
# EXE: qmxcli; DIR: a scratch folder; ARGS: the gas arguments, items joined by "@@".
string(REPLACE "@@" ";" ARGS "${ARGS}")
file(MAKE_DIRECTORY "${DIR}")
set(block "${DIR}/block.csv")
file(REMOVE "${block}")
execute_process(COMMAND ${EXE} gas ${ARGS} --write-block "${block}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE written ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "writing the block failed (${rc}): ${err}")
endif()
execute_process(COMMAND ${EXE} gas --read-block "${block}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE read ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "reading the block failed (${rc}): ${err}")
endif()
if(NOT written STREQUAL read)
  message(FATAL_ERROR "the block read back differs:\nwritten: ${written}\nread: ${read}")
endif()
execute_process(COMMAND ${EXE} gas --read-block - INPUT_FILE "${block}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE piped ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT written STREQUAL piped)
  message(FATAL_ERROR "reading the block from standard input differs (${rc}): ${err}\n${piped}")
endif()
# The block written to standard output is the file's text.
execute_process(COMMAND ${EXE} gas ${ARGS} --write-block -
                RESULT_VARIABLE rc OUTPUT_VARIABLE text ERROR_VARIABLE err)
file(READ "${block}" saved)
if(NOT rc EQUAL 0 OR NOT text STREQUAL saved)
  message(FATAL_ERROR "--write-block - differs from the file (${rc}): ${err}")
endif()
