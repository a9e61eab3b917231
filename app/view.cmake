# The preview pane (quenda_view, on wxWidgets) and the stretch blitter it reduces pictures with
# (quenda_blit, plain C++ in app/blit/).
if(NOT TARGET quenda_blit)
  add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/blit ${CMAKE_BINARY_DIR}/app/blit)
endif()

add_library(quenda_view STATIC ${CMAKE_CURRENT_LIST_DIR}/QuendaView.cpp)
target_include_directories(quenda_view SYSTEM PUBLIC ${wxWidgets_INCLUDE_DIRS})
target_compile_definitions(quenda_view PUBLIC ${wxWidgets_DEFINITIONS})
target_compile_options(quenda_view PUBLIC ${wxWidgets_CXX_FLAGS})
target_link_libraries(quenda_view PUBLIC quenda_blit quenda_codec_app quenda_res
                                         ${wxWidgets_LIBRARIES})
