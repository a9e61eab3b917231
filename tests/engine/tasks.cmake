# Tests of the conversion tasks, through the build's real plug-ins and, for the progress seen
# between loads and saves, a probe plug-in that hands every call on to the real BMP plug-in.
# One case runs a batch on a worker thread, so the ThreadSanitizer build runs this program.
if(TARGET quenda_engine AND TARGET kdtplug AND TARGET bmpplug)
  set(tasks_probe_dir ${CMAKE_CURRENT_BINARY_DIR}/tasks-probe-plugin)
  add_library(tasks_probe MODULE ${CMAKE_CURRENT_LIST_DIR}/tasks_probe_plugin.cpp)
  target_compile_definitions(tasks_probe PRIVATE QUENDA_PLUGIN_DIR="${QUENDA_PLUGIN_DIR}/")
  target_link_libraries(tasks_probe PRIVATE ${CMAKE_DL_LIBS})
  set_target_properties(tasks_probe PROPERTIES PREFIX "" SUFFIX ".dll"
                        LIBRARY_OUTPUT_DIRECTORY ${tasks_probe_dir})

  quenda_add_test(engine_tasks_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tasks_base_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/tasks_single_composite_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/tasks_batch_test.cpp
    LIBS quenda_engine ${CMAKE_DL_LIBS}
    LABELS threads
    DEPENDS kdtplug bmpplug tasks_probe)
  target_compile_definitions(engine_tasks_test PRIVATE TASKS_PROBE_DIR="${tasks_probe_dir}/")
endif()
