# Runs korvo-import in the sample folder and checks what it wrote, or that it refused.
#
#   cmake -DIMPORT=<korvo-import> -DHOST=<korvocOIEx> -DDATA=<samples> -DNAME=<name>
#         -DWORK=<folder> -DARGS=<arg|arg|...> [-DERROR=<message>] -P run_import.cmake
#
# Without ERROR: every file under data/NAME.expected/installation/ equals the one written, the
# import's standard error equals NAME.expected/stderr.txt, and the host's answers to NAME.script
# equal NAME.expected/answers.jsonl. With ERROR: the import fails with status 1 and that message,
# and WORK holds nothing afterwards.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(install ${WORK}/installation)
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${IMPORT} --out ${install} ${args} WORKING_DIRECTORY ${DATA}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(ERROR)
  file(GLOB left ${WORK}/*)
  if(NOT status EQUAL 1 OR NOT err STREQUAL "korvo-import: ${ERROR}\n" OR left)
    message(FATAL_ERROR "status ${status}, left behind: ${left}\nstderr:\n${err}")
  endif()
  return()
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "exit status ${status}\nstdout:\n${out}\nstderr:\n${err}")
endif()

set(expected ${DATA}/${NAME}.expected)
file(READ ${expected}/stderr.txt want)
if(NOT err STREQUAL want)
  message(FATAL_ERROR "stderr:\n${err}\nexpected:\n${want}")
endif()
file(GLOB_RECURSE files RELATIVE ${expected}/installation ${expected}/installation/*)
foreach(file ${files})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${expected}/installation/${file}
                          ${install}/${file} RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${install}/${file} differs from ${expected}/installation/${file}")
  endif()
endforeach()

execute_process(COMMAND ${HOST} --registry ${install}/registry.ini --script ${DATA}/${NAME}.script
                OUTPUT_VARIABLE answers ERROR_VARIABLE err RESULT_VARIABLE status)
file(READ ${expected}/answers.jsonl want)
if(NOT status EQUAL 0 OR NOT answers STREQUAL want)
  message(FATAL_ERROR "status ${status}, answers:\n${answers}\nexpected:\n${want}\nstderr:\n${err}")
endif()
