# The conversion tasks: the task base and the single, composite and batch tasks.
list(APPEND QUENDA_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/TaskBaseClass.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TaskBasic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TaskComposite.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TaskBatch.cpp
)
