# The Windows build (preset mingw, toolchain cmake/mingw-i686.cmake): the real add-in QORMAIL.DLL
# with its resources and the Windows platform layer, and the Windows test host korvik.exe that
# runs the scenario scripts on real windows. Included from the top-level CMakeLists.txt instead of
# the Linux build.

# The warnings stay for C++ only: the resource compiler takes no such options.
get_directory_property(_qor_options COMPILE_OPTIONS)
set(_qor_cxx_options)
foreach(_option IN LISTS _qor_options)
  list(APPEND _qor_cxx_options "$<$<COMPILE_LANGUAGE:CXX>:${_option}>")
endforeach()
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${_qor_cxx_options}")
enable_language(RC)
# The resource script is code page 932 text.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 932")

# Windows XP and later; ANSI ("A") functions unless a call names its "W" form.
add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 WIN32_LEAN_AND_MEAN NOMINMAX)

add_subdirectory(res)
add_subdirectory(platform/win32)
# addin/ links the platform seam by its neutral name; here that is the
# Windows seam.
add_library(platform_seam ALIAS platform_win32)
add_subdirectory(base)
add_subdirectory(scan)
add_subdirectory(search)
add_subdirectory(idexport)
add_subdirectory(addin)

# QORMAIL.DLL: the add-in module with its resources. It exports GiveAddinInterface alone and
# imports only system DLLs: the C and C++ runtimes of the compiler are linked in.
target_sources(QORMAIL PRIVATE ${CMAKE_SOURCE_DIR}/res/qormail.rc)
# Linked into the module itself, not taken from a library: nothing calls it, it registers the
# module's unwind tables with the module's own unwinder when another module's libgcc DLL is loaded.
# It is part of the Windows platform layer and includes from the top of the tree as that does.
target_sources(QORMAIL PRIVATE ${CMAKE_SOURCE_DIR}/platform/win32/unwind_tables.cpp)
set_source_files_properties(${CMAKE_SOURCE_DIR}/platform/win32/unwind_tables.cpp
  DIRECTORY ${CMAKE_SOURCE_DIR}/addin
  PROPERTIES INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR})
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/qormail.rc
  DIRECTORY ${CMAKE_SOURCE_DIR}/addin
  PROPERTIES OBJECT_DEPENDS "${QOR_RESOURCE_FILES}")
set_target_properties(QORMAIL PROPERTIES PREFIX "" SUFFIX ".DLL")
target_link_options(QORMAIL PRIVATE -static -static-libgcc -static-libstdc++)

# The Windows test host: the substitute host's library, and korvik.exe with mailzolka's commands.
add_subdirectory(host)
add_subdirectory(cli)
add_subdirectory(host/win32)
add_subdirectory(cli/win32)

if(QOR_BUILD_TESTS)
  enable_testing()
  add_subdirectory(tests/wine)
endif()
