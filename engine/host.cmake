# The plug-in host.
list(APPEND QUENDA_ENGINE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/ImageFileEngine.cpp)
