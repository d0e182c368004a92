# The one version of everything we ship: the project's. It reaches the programs through
# korvo_version.h (korvo_version target) and the Windows binaries through a VERSIONINFO
# resource (korvo_version_resource).
set(KORVO_COMPANY "Vendra Systems, Inc.")
set(KORVO_VERSION_DIR ${CMAKE_BINARY_DIR}/generated/version)
file(CONFIGURE OUTPUT ${KORVO_VERSION_DIR}/korvo_version.h @ONLY
     CONTENT "// Generated from the project version; do not edit.\n#pragma once\n#define KORVO_VERSION \"@PROJECT_VERSION@\"\n")
add_library(korvo_version INTERFACE)
target_include_directories(korvo_version INTERFACE ${KORVO_VERSION_DIR})

# korvo_version_resource(TARGET DESCRIPTION): on Windows, a VERSIONINFO resource in TARGET
# naming the company, the product, the version and the file's own name and DESCRIPTION.
function(korvo_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(KORVO_RC_FILE_TYPE VFT_APP)
    set(suffix ${CMAKE_EXECUTABLE_SUFFIX})
  else()
    set(KORVO_RC_FILE_TYPE VFT_DLL)
    set(suffix ${CMAKE_SHARED_LIBRARY_SUFFIX})
  endif()
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(KORVO_RC_ORIGINAL_NAME ${name}${suffix})
  set(KORVO_RC_INTERNAL_NAME ${name})
  set(KORVO_RC_DESCRIPTION ${description})
  set(rc ${KORVO_VERSION_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
