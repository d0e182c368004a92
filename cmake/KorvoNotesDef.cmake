# The runtime's export lists on Windows. nnotes.dll exports its calls by their undecorated
# names; on 32-bit Windows they are __stdcall, so the objects that call them reference
# decorated names (NSFDbOpen@8) and an import library must map one to the other. ld's own
# import library loses the sizes under --kill-at, so every import library for nnotes.dll is
# made by dlltool from a .def that keeps them.

# korvo_write_notes_def(OUTPUT DEF...): writes the exports of the .def files DEF... (their
# indented lines) under one "LIBRARY nnotes.dll" into OUTPUT. 64-bit builds drop the sizes.
function(korvo_write_notes_def output)
  set(entries)
  foreach(def ${ARGN})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
    file(STRINGS ${def} lines REGEX "^[ \t]+[A-Za-z_]")
    list(APPEND entries ${lines})
  endforeach()
  list(JOIN entries "\n" text)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    string(REGEX REPLACE "@[0-9]+" "" text "${text}")
  endif()
  file(GENERATE OUTPUT ${output} CONTENT "LIBRARY nnotes.dll\nEXPORTS\n${text}\n")
endfunction()

# korvo_notes_import_command(DEF LIB): the dlltool command line that makes the import library
# LIB from DEF, in the variable korvo_notes_import_command. dlltool names symbols after the
# library's path, so it runs in LIB's folder and is given the bare name: the symbols, and the
# binaries linked with them, do not depend on where the build folder lies.
function(korvo_notes_import_command def lib)
  set(korvo_notes_import_command ${CMAKE_COMMAND} -E chdir $<PATH:GET_PARENT_PATH,${lib}>
      ${CMAKE_DLLTOOL} --kill-at --input-def ${def} --dllname nnotes.dll
      --output-lib $<PATH:GET_FILENAME,${lib}> PARENT_SCOPE)
endfunction()
