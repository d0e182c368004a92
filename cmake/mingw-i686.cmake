# Cross build for 32-bit Windows (the product) with Debian's MinGW-w64 compilers in their
# POSIX thread model. Everything links with -static, so no MinGW runtime DLL (libgcc,
# libstdc++, libwinpthread) has to travel beside the binaries.
#
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(KORVO_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${KORVO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVO_MINGW_TRIPLET}-windres)
set(CMAKE_DLLTOOL ${KORVO_MINGW_TRIPLET}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${KORVO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# The i686 tests run in the emulated machine of .ci/win32-run.sh, whose wine is at the same
# path; this machine's kernel runs no 32-bit code, so ctest runs them only there.
find_program(KORVO_WINE wine)
if(KORVO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KORVO_WINE})
endif()
