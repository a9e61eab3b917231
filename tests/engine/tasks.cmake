# Tests of the conversion tasks, through the build's real plug-ins and, for the progress seen
# between loads and saves, a probe plug-in that hands every call on to the real BMP plug-in.
# The tasks' sources are compiled in here rather than linking quenda_engine, so these tests do
# not wait for the other parts of that library.
if(TARGET quenda_codec_app AND TARGET kdtplug AND TARGET bmpplug)
  set(tasks_probe_dir ${CMAKE_CURRENT_BINARY_DIR}/tasks-probe-plugin)
  add_library(tasks_probe MODULE ${CMAKE_CURRENT_LIST_DIR}/tasks_probe_plugin.cpp)
  target_compile_definitions(tasks_probe PRIVATE QUENDA_PLUGIN_DIR="${QUENDA_PLUGIN_DIR}/")
  target_link_libraries(tasks_probe PRIVATE ${CMAKE_DL_LIBS})
  set_target_properties(tasks_probe PROPERTIES PREFIX "" SUFFIX ".dll"
                        LIBRARY_OUTPUT_DIRECTORY ${tasks_probe_dir})

  set(tasks_sources
    ${CMAKE_SOURCE_DIR}/engine/ImageFileEngine.cpp
    ${CMAKE_SOURCE_DIR}/engine/TaskBaseClass.cpp
    ${CMAKE_SOURCE_DIR}/engine/TaskBasic.cpp
    ${CMAKE_SOURCE_DIR}/engine/TaskComposite.cpp
    ${CMAKE_SOURCE_DIR}/engine/TaskBatch.cpp)
  set(tasks_libs quenda_codec_app quenda_codec_core quenda_platform quenda_res ${CMAKE_DL_LIBS})

  # tasks_test(name source [LABELS ...])
  function(tasks_test name source)
    quenda_add_test(${name}
      SOURCES ${CMAKE_CURRENT_LIST_DIR}/${source} ${tasks_sources}
      LIBS ${tasks_libs}
      DEPENDS kdtplug bmpplug tasks_probe
      ${ARGN})
    target_compile_definitions(${name} PRIVATE TASKS_PROBE_DIR="${tasks_probe_dir}/")
  endfunction()

  tasks_test(engine_tasks_base_test tasks_base_test.cpp)
  tasks_test(engine_tasks_single_composite_test tasks_single_composite_test.cpp)
  tasks_test(engine_tasks_batch_test tasks_batch_test.cpp)
  tasks_test(engine_tasks_batch_stop_test tasks_batch_stop_test.cpp LABELS threads)
endif()
