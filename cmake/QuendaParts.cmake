# Includes every *.cmake part file of the current folder, in name order. Folders that several
# pieces of the program share (engine/, app/, bench/, tests/engine/) keep one part per piece.
file(GLOB quenda_parts CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
list(SORT quenda_parts)
foreach(part IN LISTS quenda_parts)
  include(${part})
endforeach()
