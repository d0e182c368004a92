# End-to-end: the built korvocOIEx resolving contacts in a Notes installation generated here.
# No registry names the installation, so the runtime starts from the working directory,
# where notes.ini is.
set(contacts_install ${CMAKE_CURRENT_BINARY_DIR}/host_install)
file(WRITE ${contacts_install}/notes.ini
     "[Notes]\nDirectory=data\nKeyFileName=user.id\nNotesrtCollectionPiece=1\n")
file(WRITE ${contacts_install}/data/user.id "CN=Ann Lee/O=Acme\n")
configure_file(${PROJECT_SOURCE_DIR}/tests/data/contacts/names.nsf
               ${contacts_install}/data/names.nsf COPYONLY)

list(JOIN KORVO_HOST_NO_REGISTRY "|" registry_args)
if(registry_args)
  string(APPEND registry_args "|")
endif()

# contacts_host(NAME SCRIPT): runs the script and compares the answers with NAME.answers.
function(contacts_host name script)
  set(data ${CMAKE_CURRENT_SOURCE_DIR}/data)
  add_test(NAME contacts_host_${name}
           COMMAND ${CMAKE_COMMAND} -DHOST=$<TARGET_FILE:korvocOIEx>
                   "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
                   "-DARGS=${registry_args}--script|${data}/${script}"
                   -DANSWERS=${data}/${name}.answers
                   -DTEMP_FOLDER=${CMAKE_CURRENT_BINARY_DIR}/host_temp_${name}
                   -DHOST_DRIVER=${PROJECT_SOURCE_DIR}/tests/host/run_host.cmake
                   -P ${CMAKE_CURRENT_SOURCE_DIR}/run_contacts_host.cmake
           WORKING_DIRECTORY ${contacts_install})
  set_tests_properties(contacts_host_${name} PROPERTIES TIMEOUT 120 RESOURCE_LOCK notes_registry)
endfunction()

contacts_host(resolve resolve.script)
