# quenda_add_test(name SOURCES ... [LIBS ...] [LABELS ...] [DEPENDS ...] [GUI] [NO_GTEST_MAIN])
# One test program, run by CTest as one test; without NO_GTEST_MAIN its entry is
# tests/support/TestMain.cpp (the heap tuned as the program tunes it). GUI tests carry the label
# "gui" (they need a display); "threads" marks the tests that the ThreadSanitizer build runs.
function(quenda_add_test name)
  cmake_parse_arguments(T "GUI;NO_GTEST_MAIN" "" "SOURCES;LIBS;LABELS;DEPENDS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_NO_GTEST_MAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest Threads::Threads)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} quenda_test_main Threads::Threads)
  endif()
  target_compile_definitions(${name} PRIVATE QUENDA_PLUGIN_DIR="${QUENDA_PLUGIN_DIR}/"
                                             QUENDA_BUILD_DIR="${CMAKE_BINARY_DIR}/")
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  set(labels ${T_LABELS})
  if(T_GUI)
    list(APPEND labels gui)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT 600)
endfunction()
