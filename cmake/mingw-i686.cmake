# QORMAIL.DLL as the host loads it: 32-bit Windows (package g++-mingw-w64-i686).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_qor_triplet i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)

# Tests of the Windows build run their programs under Wine's 32-bit loader.
find_program(QOR_WINE NAMES wine)
if(QOR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QOR_WINE})
endif()
