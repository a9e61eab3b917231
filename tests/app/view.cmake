# Tests of the stretch blitter and the resource tables: no display, so they also run under the
# sanitizers. The preview pane's drawing is tested with the window, in tests/gui.
if(NOT TARGET quenda_blit)
  add_subdirectory(${CMAKE_SOURCE_DIR}/app/blit ${CMAKE_BINARY_DIR}/app/blit)
endif()
quenda_add_test(test_stretch_blit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/StretchBlitTest.cpp
  LIBS quenda_blit)
quenda_add_test(test_resources
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ResourcesTest.cpp
  LIBS quenda_res)
