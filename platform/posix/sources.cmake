target_sources(korvo_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/errors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/errno_map.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/oleauto.cpp
  ${CMAKE_CURRENT_LIST_DIR}/codepage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/codec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/single_byte_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/iconv_codec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/case_fold.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mutex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/directories.cpp
  ${CMAKE_CURRENT_LIST_DIR}/temp_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/create_new_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/find_files.cpp)
target_link_libraries(korvo_platform PUBLIC ${CMAKE_DL_LIBS})
