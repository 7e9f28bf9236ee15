# The same sources for 64-bit Windows (package g++-mingw-w64-x86-64): not what the host loads, but
# what the Wine suite runs on a machine whose kernel runs no 32-bit programs, so that the add-in
# still meets the real controls there.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_qor_triplet x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)

# Debian's "wine" starts the 32-bit loader whenever it is installed: name the 64-bit one.
find_program(QOR_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(QOR_WINE NAMES wine64)
if(QOR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QOR_WINE})
endif()
