# Include roots: the add-in's libraries (base/, scan/, search/, idexport/, addin/) do not include
# from the top of the tree. Each library publishes a directory of its own under the build tree
# that holds only a link to its own folder; a library sees its own folder and those of the
# libraries it links, nothing else. So "scan/listings.h" builds in addin/, which links qor_scan,
# and "addin/dispatch.h" does not build in scan/, which does not link the frame.

set(QOR_INCLUDE_ROOTS ${CMAKE_BINARY_DIR}/include_roots)

# qor_include_root(<target> <INTERFACE|PUBLIC> <path>...): the target and whatever links it see each
# path (a folder or a file, relative to the top of the tree) under its own name.
function(qor_include_root target scope)
  set(root ${QOR_INCLUDE_ROOTS}/${target})
  file(REMOVE_RECURSE ${root})  # removes the links, not what they point to
  foreach(path IN LISTS ARGN)
    get_filename_component(parent ${root}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${path} ${root}/${path} SYMBOLIC)
  endforeach()
  target_include_directories(${target} ${scope} ${root})
endfunction()

# The seam as the add-in sees it: the headers at the top of platform/, not the implementations
# below it (platform/sim/, platform/win32/), nor the desktop as the hosts see it.
add_library(platform_seam_headers INTERFACE)
file(GLOB _seam_headers RELATIVE ${CMAKE_SOURCE_DIR} CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/*.h)
list(REMOVE_ITEM _seam_headers platform/desktop.h platform/profile_places.h)
qor_include_root(platform_seam_headers INTERFACE ${_seam_headers})
