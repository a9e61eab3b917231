# A still-mode field exchange of a full-size KDT file through the real plug-ins.
add_executable(bench_modeconv ${CMAKE_CURRENT_LIST_DIR}/modeconv_bench.cpp)
target_link_libraries(bench_modeconv PRIVATE quenda_engine benchmark::benchmark)
if(TARGET kdtplug AND TARGET bmpplug)
  add_dependencies(bench_modeconv kdtplug bmpplug)
endif()
