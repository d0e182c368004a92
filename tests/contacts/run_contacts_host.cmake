# Runs korvocOIEx through tests/host/run_host.cmake (same variables) with TEMP_FOLDER, an
# empty folder, as its temporary directory, and fails when a file is left in it. Under an
# emulator (Wine) the program gets the emulator's own temporary directory whatever the
# environment says, so there the folder is not checked; the contact suite checks it
# in-process.
if(EMULATOR)
  include(${HOST_DRIVER})
  return()
endif()
file(REMOVE_RECURSE ${TEMP_FOLDER})
file(MAKE_DIRECTORY ${TEMP_FOLDER})
set(ENV{TMPDIR} ${TEMP_FOLDER})
include(${HOST_DRIVER})
file(GLOB left ${TEMP_FOLDER}/*)
if(left)
  message(FATAL_ERROR "temporary files left: ${left}")
endif()
