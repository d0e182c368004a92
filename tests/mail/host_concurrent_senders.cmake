# End-to-end: four korvocOIEx hosts send 50 memos each into one installation at the same time;
# every memo must then be in the mail server's mail.box and in the user's mail file, once, and
# no lock or temporary file may be left beside them.
#
#   cmake -DHOST=<korvocOIEx> [-DEMULATOR=<wine>] -DDATA=<tests/data/mail> -DINSTALL=<folder>
#         -DREGISTRY_ARGS=<host arguments that leave the registry empty>
#         -P host_concurrent_senders.cmake
#
# The hosts are the stages of one execute_process, which starts them all at once. Each stage is
# this script again with -DSENDER=N: it runs host N with its answers going to a file, so that no
# stage writes into the next one's input.
cmake_policy(SET CMP0007 NEW)
set(senders 4)
set(memos 50)

if(DEFINED SENDER)
  string(REPLACE "|" ";" REGISTRY_ARGS "${REGISTRY_ARGS}")
  execute_process(COMMAND ${EMULATOR} ${HOST} ${REGISTRY_ARGS} --script send${SENDER}.script
                  WORKING_DIRECTORY ${INSTALL} OUTPUT_FILE ${INSTALL}/answers${SENDER}.txt
                  ERROR_FILE ${INSTALL}/errors${SENDER}.txt RESULT_VARIABLE status)
  file(WRITE ${INSTALL}/status${SENDER}.txt "${status}")
  return()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/mail_installation.cmake)

set(answers "{\"op\":\"init\",\"result\":0}\n")
# The stages' arguments are one list: a list among them goes with "|" between its entries.
string(REPLACE ";" "|" registry "${REGISTRY_ARGS}")
set(stages)
foreach(sender RANGE 1 ${senders})
  set(script "init 1\n")
  foreach(memo RANGE 1 ${memos})
    string(APPEND script "sendmail \"Memo ${sender}-${memo}\" \"bo.chen@acme.example\" \"Text\"\n")
  endforeach()
  file(WRITE ${INSTALL}/send${sender}.script "${script}")
  list(APPEND stages COMMAND ${CMAKE_COMMAND} -DSENDER=${sender} -DHOST=${HOST}
       "-DEMULATOR=${EMULATOR}" -DINSTALL=${INSTALL} "-DREGISTRY_ARGS=${registry}"
       -P ${CMAKE_CURRENT_LIST_FILE})
endforeach()
foreach(memo RANGE 1 ${memos})
  string(APPEND answers "{\"op\":\"sendmail\",\"result\":1}\n")
endforeach()

execute_process(${stages})
foreach(sender RANGE 1 ${senders})
  file(READ ${INSTALL}/status${sender}.txt status)
  file(READ ${INSTALL}/answers${sender}.txt out)
  string(REPLACE "\r" "" out "${out}")
  if(NOT status EQUAL 0 OR NOT out STREQUAL answers)
    file(READ ${INSTALL}/errors${sender}.txt err)
    message(FATAL_ERROR "host ${sender}: exit status ${status}, answers:\n${out}\n${err}")
  endif()
endforeach()

# Each file holds every memo once: mail.box nothing else, the mail file its 4 notes besides.
math(EXPR sent "${senders} * ${memos}")
foreach(file mail.box mail/alee.nsf)
  file(READ ${server}/${file} text)
  string(JSON notes LENGTH "${text}" notes)
  string(REGEX MATCHALL "\\[\"Subject\",\"Memo [0-9]+-[0-9]+\"\\]" found "${text}")
  list(REMOVE_DUPLICATES found)
  list(LENGTH found distinct)
  set(expected ${sent})
  if(file STREQUAL "mail/alee.nsf")
    math(EXPR expected "${sent} + 4")
  endif()
  if(NOT distinct EQUAL sent OR NOT notes EQUAL expected)
    message(FATAL_ERROR "${file}: ${distinct} of the ${sent} memos, in ${notes} notes")
  endif()
endforeach()

file(GLOB_RECURSE left ${server}/*.lock ${server}/*.tmp)
if(left)
  message(FATAL_ERROR "left behind: ${left}")
endif()
