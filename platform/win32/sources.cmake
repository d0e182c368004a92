# The Win32 side of the platform layer: thin wrappers over kernel32, advapi32 (registry),
# user32 (message box), oleaut32 (automation strings) and shell32 (splitting the command
# line). UTF-8 conversion uses the shared codec in platform/common, so both sides replace
# invalid input alike.
target_sources(korvo_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/errors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/oleauto.cpp
  ${CMAKE_CURRENT_LIST_DIR}/codepage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mutex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/create_new_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/find_files.cpp)
target_link_libraries(korvo_platform PUBLIC advapi32 user32 oleaut32 shell32)
