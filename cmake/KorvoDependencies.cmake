# Third-party pieces: GoogleTest and nlohmann/json.
#
# Native builds take Debian's packages. MinGW builds compile GoogleTest from
# /usr/src/googletest, and see nlohmann/json through a link folder in the build tree, never
# through /usr/include (which holds glibc's headers).
if(CMAKE_CROSSCOMPILING)
  set(KORVO_THIRD_PARTY_INCLUDE ${CMAKE_BINARY_DIR}/third_party/include)
  file(MAKE_DIRECTORY ${KORVO_THIRD_PARTY_INCLUDE})
  if(NOT EXISTS ${KORVO_THIRD_PARTY_INCLUDE}/nlohmann)
    file(CREATE_LINK /usr/include/nlohmann ${KORVO_THIRD_PARTY_INCLUDE}/nlohmann SYMBOLIC)
  endif()
  add_library(korvo_json INTERFACE)
  target_include_directories(korvo_json SYSTEM INTERFACE ${KORVO_THIRD_PARTY_INCLUDE})
  if(KORVO_BUILD_TESTS)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # GoogleTest 1.11 and later define the GTest:: names themselves.
    foreach(gtest_target gtest gtest_main gmock)
      if(NOT TARGET GTest::${gtest_target})
        add_library(GTest::${gtest_target} ALIAS ${gtest_target})
      endif()
    endforeach()
  endif()
else()
  find_package(nlohmann_json 3 REQUIRED)
  add_library(korvo_json INTERFACE)
  target_link_libraries(korvo_json INTERFACE nlohmann_json::nlohmann_json)
  if(KORVO_BUILD_TESTS)
    find_package(GTest REQUIRED)
  endif()
endif()
