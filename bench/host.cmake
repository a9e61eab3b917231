# Loading full-size pictures through the plug-in host and the real plug-ins.
add_executable(host_bench ${CMAKE_CURRENT_LIST_DIR}/host_bench.cpp
                          ${CMAKE_SOURCE_DIR}/engine/ImageFileEngine.cpp)
target_link_libraries(host_bench PRIVATE quenda_platform benchmark::benchmark)
if(TARGET kdtplug AND TARGET bmpplug)
  add_dependencies(host_bench kdtplug bmpplug)
endif()
