# Tests of the stretch blitter and the resource tables (no display; also run under the
# sanitizers) and of the preview pane's drawing (needs wxWidgets and a display).
if(NOT TARGET quenda_blit)
  add_subdirectory(${CMAKE_SOURCE_DIR}/app/blit ${CMAKE_BINARY_DIR}/app/blit)
endif()
quenda_add_test(test_stretch_blit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/StretchBlitTest.cpp
  LIBS quenda_blit)
quenda_add_test(test_resources
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ResourcesTest.cpp
  LIBS quenda_res)
if(QUENDA_GUI)
  quenda_add_test(test_quenda_view GUI NO_GTEST_MAIN
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/QuendaViewTest.cpp
    LIBS quenda_view)
endif()
