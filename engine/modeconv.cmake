# The Y/C field-exchange task.
list(APPEND QUENDA_ENGINE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/TaskModeConv.cpp)
