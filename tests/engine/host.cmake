# Tests of the plug-in host, through the real plug-ins and through stand-in plug-ins built here.
set(host_test_plugin_dir ${CMAKE_CURRENT_BINARY_DIR}/host-test-plugins)

# host_test_plugin(name PATTERN text MARKER code [LOAD_NOTHING] [WITHOUT_SAVE])
function(host_test_plugin name)
  cmake_parse_arguments(P "LOAD_NOTHING;WITHOUT_SAVE" "PATTERN;MARKER" "" ${ARGN})
  add_library(${name} MODULE ${CMAKE_CURRENT_SOURCE_DIR}/host_test_plugin.cpp)
  target_compile_definitions(${name} PRIVATE TEST_PATTERN="${P_PATTERN}" TEST_MARKER=${P_MARKER})
  if(P_LOAD_NOTHING)
    target_compile_definitions(${name} PRIVATE TEST_LOAD_NOTHING)
  endif()
  if(P_WITHOUT_SAVE)
    target_compile_definitions(${name} PRIVATE TEST_WITHOUT_SAVE)
  endif()
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll"
                        LIBRARY_OUTPUT_DIRECTORY ${host_test_plugin_dir})
endfunction()

host_test_plugin(host_tga PATTERN "*.TGA" MARKER 901)
host_test_plugin(host_bmp_lower PATTERN "*.bmp" MARKER 902)
host_test_plugin(host_no_save PATTERN "*.XYZ" MARKER 903 WITHOUT_SAVE)
host_test_plugin(host_empty_load PATTERN "*.BMP" MARKER 904 LOAD_NOTHING)
host_test_plugin(host_pattern_39 PATTERN "*.ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789A" MARKER 905)
host_test_plugin(host_pattern_40 PATTERN "*.ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789AB" MARKER 906)
host_test_plugin(host_no_pattern PATTERN "" MARKER 907)
set(host_test_plugins host_tga host_bmp_lower host_no_save host_empty_load host_pattern_39
                      host_pattern_40 host_no_pattern)

set(host_real_plugins "")
if(TARGET kdtplug AND TARGET bmpplug)
  set(host_real_plugins kdtplug bmpplug)
endif()

# The host's source is compiled in here rather than linking quenda_engine, so these tests do not
# wait for the conversion tasks that share that library.
quenda_add_test(engine_host_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/host_test.cpp ${CMAKE_SOURCE_DIR}/engine/ImageFileEngine.cpp
  LIBS quenda_platform
  DEPENDS ${host_test_plugins} ${host_real_plugins})
target_compile_definitions(engine_host_test PRIVATE
  HOST_TEST_PLUGIN_DIR="${host_test_plugin_dir}/")
