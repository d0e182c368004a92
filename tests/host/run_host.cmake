# Runs korvocOIEx once and checks its exit status, its answers and its trace.
#
#   cmake -DHOST=<korvocOIEx> [-DEMULATOR=<wine>] -DARGS=<arg|arg|...> [-DSTDIN=<file>]
#         [-DEXIT=<status, default 0>] [-DANSWERS=<file>] [-DTRACE_FILE=<file>
#         -DTRACE=<file>] -P run_host.cmake
#
# ANSWERS holds the standard output expected, line for line. TRACE holds the lines expected
# in TRACE_FILE (which ARGS names with --trace-file), source line numbers written as N.
string(REPLACE "|" ";" args "${ARGS}")
if(NOT DEFINED EXIT)
  set(EXIT 0)
endif()
set(input)
if(STDIN)
  set(input INPUT_FILE ${STDIN})
endif()
if(TRACE_FILE)
  file(REMOVE ${TRACE_FILE})
endif()

execute_process(COMMAND ${EMULATOR} ${HOST} ${args} ${input}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
string(REPLACE "\r" "" out "${out}")

if(NOT status STREQUAL EXIT)
  message(FATAL_ERROR "exit status ${status}, expected ${EXIT}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(ANSWERS)
  file(READ ${ANSWERS} expected)
  if(NOT out STREQUAL expected)
    message(FATAL_ERROR "answers:\n${out}\nexpected:\n${expected}\nstderr:\n${err}")
  endif()
endif()
if(TRACE)
  file(READ ${TRACE_FILE} trace)
  string(REPLACE "\r" "" trace "${trace}")
  string(REGEX REPLACE ":[0-9]+\t" ":N\t" trace "${trace}")
  file(READ ${TRACE} expected)
  if(NOT trace STREQUAL expected)
    message(FATAL_ERROR "trace:\n${trace}\nexpected:\n${expected}")
  endif()
endif()
