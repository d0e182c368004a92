# End-to-end: korvocOIEx starts Notes for the calendar and sends a memo; the memo must then be
# in the mail server's mail.box and, under its own identity, in the user's mail file.
#
#   cmake -DHOST=<korvocOIEx> [-DEMULATOR=<wine>] -DDATA=<tests/data/mail> -DINSTALL=<folder>
#         -DREGISTRY_ARGS=<host arguments that leave the registry empty> -P host_sendmail.cmake
#
# No registry names the installation, so the runtime starts from the working directory,
# INSTALL, where notes.ini is. INSTALL is made anew at every run.
cmake_policy(SET CMP0007 NEW)
include(${CMAKE_CURRENT_LIST_DIR}/mail_installation.cmake)
file(WRITE ${INSTALL}/send.script
     "init 1\nsendmail \"Status\" \"bo.chen@acme.example, CN=Cy Diaz/O=Acme\" \"Line one\\r\\nLine two\"\n")

execute_process(COMMAND ${EMULATOR} ${HOST} ${REGISTRY_ARGS} --script send.script
                WORKING_DIRECTORY ${INSTALL} OUTPUT_VARIABLE out ERROR_VARIABLE err
                RESULT_VARIABLE status)
string(REPLACE "\r" "" out "${out}")
set(answers "{\"op\":\"init\",\"result\":0}\n{\"op\":\"sendmail\",\"result\":1}\n")
if(NOT status EQUAL 0 OR NOT out STREQUAL answers)
  message(FATAL_ERROR "exit status ${status}, answers:\n${out}\nexpected:\n${answers}\n${err}")
endif()

file(READ ${server}/mail.box box)
file(READ ${server}/mail/alee.nsf mailfile)
string(JSON delivered LENGTH "${box}" notes)
string(JSON kept LENGTH "${mailfile}" notes)
if(NOT delivered EQUAL 1 OR NOT kept EQUAL 5)
  message(FATAL_ERROR "${delivered} memos in mail.box, ${kept} notes in the mail file")
endif()

# Each expected item: index, name, and the value's text (a text, or the path of a list entry).
set(expected
    "0|SendTo|0|bo.chen@acme.example" "0|SendTo|1|CN=CyDiaz/O=Acme"
    "1|Recipients|0|bo.chen@acme.example" "1|Recipients|1|CN=CyDiaz/O=Acme"
    "2|Form||Memo" "3|From||CN=Ann Lee/O=Acme" "4|Subject||Status" "5|DeliveryPriority||N"
    "6|DeliveryReport||B" "7|ComposedDate|time|" "8|Body|richtext|Line one\nLine two"
    "9|PostedDate|time|")
string(JSON items GET "${box}" notes 0 items)
string(JSON count LENGTH "${items}")
if(NOT count EQUAL 10)
  message(FATAL_ERROR "the memo has ${count} items:\n${items}")
endif()
foreach(row IN LISTS expected)
  string(REPLACE "|" ";" row "${row}")
  list(GET row 0 index)
  list(GET row 1 name)
  list(GET row 2 member)
  list(GET row 3 value)
  string(JSON actualName GET "${items}" ${index} 0)
  string(JSON actualValue GET "${items}" ${index} 1 ${member})
  if(NOT actualName STREQUAL name OR (NOT value STREQUAL "" AND NOT actualValue STREQUAL value))
    message(FATAL_ERROR "item ${index}: ${actualName} = ${actualValue}, expected ${name} = ${value}")
  endif()
endforeach()

string(JSON keptItems GET "${mailfile}" notes 4 items)
string(JSON boxUnid GET "${box}" notes 0 unid)
string(JSON keptUnid GET "${mailfile}" notes 4 unid)
if(NOT keptItems STREQUAL items OR boxUnid STREQUAL keptUnid)
  message(FATAL_ERROR "the memo in the mail file (${keptUnid}) differs from the delivered one "
                      "(${boxUnid}):\n${keptItems}")
endif()
