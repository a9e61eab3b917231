# Colour conversion of a 1920 x 1080 picture, both directions, single-threaded.
add_executable(bench_codec ${CMAKE_CURRENT_LIST_DIR}/CodecConvertBench.cpp)
target_link_libraries(bench_codec PRIVATE quenda_codec_core benchmark::benchmark)
