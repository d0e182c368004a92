# Runs korvocOIEx through tests/host/run_host.cmake (same variables) with TEMP_FOLDER, an
# empty folder, as its temporary directory, and fails when a file is left in it.
file(REMOVE_RECURSE ${TEMP_FOLDER})
file(MAKE_DIRECTORY ${TEMP_FOLDER})
foreach(variable TMPDIR TMP TEMP)
  set(ENV{${variable}} ${TEMP_FOLDER})
endforeach()
include(${HOST_DRIVER})
file(GLOB left ${TEMP_FOLDER}/*)
if(left)
  message(FATAL_ERROR "temporary files left: ${left}")
endif()
