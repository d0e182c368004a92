# Runs the demo's week (scripts/demo_week.sh) on a calendar with today pinned, and compares its
# standard output, the work folder's path replaced by OUT, with an expected file.
#
#   cmake -DDEMO_WEEK=<demo_week.sh> -DIMPORT=<korvo-import> -DHOST=<korvocOIEx> -DWORK=<folder>
#         -DCALENDAR=<file.ics> -DTODAY=<YYYY-MM-DD> -DEXPECTED=<file> -P run_demo_week.cmake
file(REMOVE_RECURSE ${WORK})
set(ENV{KORVO_DEMO_TODAY} ${TODAY})
set(ENV{KORVO_DEMO_TRACE} 0)
unset(ENV{KORVO_DEMO_WEEK})
execute_process(COMMAND bash ${DEMO_WEEK} ${IMPORT} ${HOST} ${WORK} ${CALENDAR}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
string(REPLACE "${WORK}" "OUT" out "${out}")
file(READ ${EXPECTED} want)
if(NOT status EQUAL 0 OR NOT out STREQUAL want)
  message(FATAL_ERROR "status ${status}, stdout:\n${out}\nexpected:\n${want}\nstderr:\n${err}")
endif()
