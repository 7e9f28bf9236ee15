# Cross build for Windows with Debian's MinGW-w64 toolchain, for the triplet that the including
# toolchain file sets in _qor_triplet. The "win32" thread model needs no winpthread DLL; it is
# preferred when both are installed.
set(CMAKE_SYSTEM_NAME Windows)

find_program(_qor_cxx NAMES ${_qor_triplet}-g++-win32 ${_qor_triplet}-g++ REQUIRED)
find_program(_qor_cc NAMES ${_qor_triplet}-gcc-win32 ${_qor_triplet}-gcc REQUIRED)
find_program(_qor_windres NAMES ${_qor_triplet}-windres REQUIRED)
set(CMAKE_CXX_COMPILER ${_qor_cxx})
set(CMAKE_C_COMPILER ${_qor_cc})
set(CMAKE_RC_COMPILER ${_qor_windres})

set(CMAKE_FIND_ROOT_PATH /usr/${_qor_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
