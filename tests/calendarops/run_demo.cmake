# Runs the demo script through korvocOIEx against the demo installation and compares its
# answers with the expected file, line for line.
#
#   cmake -DHOST=<korvocOIEx> [-DEMULATOR=<wine>] [-DVALGRIND=<valgrind>] -DDEMO=<demo folder>
#         -DWORK=<folder> -DANSWERS=<file> -P run_demo.cmake
# With VALGRIND the host runs under memcheck: any error or any block still allocated at exit
# fails the run, and memcheck's summary is printed.
file(MAKE_DIRECTORY ${WORK})
set(registry ${WORK}/demo-registry.ini)
file(WRITE ${registry}
  "[HKEY_CURRENT_USER\\Software\\Vendra Systems, Inc.\\MeetingIntegration]\n"
  "NotesIniPath=${DEMO}/notes/notes.ini\n\n"
  "[HKEY_CURRENT_USER\\SOFTWARE\\IBM\\NOTES\\INSTALLER]\n"
  "PROGDIR=${DEMO}/notes\n")
if(VALGRIND)
  set(EMULATOR ${VALGRIND} --tool=memcheck --leak-check=full --show-leak-kinds=all
      --errors-for-leak-kinds=all --error-exitcode=99)
endif()
execute_process(COMMAND ${EMULATOR} ${HOST} --registry ${registry} --script ${DEMO}/demo.script
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
string(REPLACE "\r\n" "\n" out "${out}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "exit status ${status}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(VALGRIND)
  string(REGEX MATCHALL "==[0-9]+== (in use at exit|All heap blocks|ERROR SUMMARY)[^\n]*" summary
         "${err}")
  string(REPLACE ";" "\n" summary "${summary}")
  message(STATUS "memcheck:\n${summary}")
endif()
file(READ ${ANSWERS} expected)
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "answers:\n${out}\nexpected:\n${expected}\nstderr:\n${err}")
endif()
