# Tests of the field-exchange task, on real KDT files through the real plug-ins.
set(modeconv_test_plugins "")
if(TARGET kdtplug AND TARGET bmpplug)
  set(modeconv_test_plugins kdtplug bmpplug)
endif()

add_library(modeconv_test_files STATIC ${CMAKE_CURRENT_LIST_DIR}/ModeConvFiles.cpp)
target_link_libraries(modeconv_test_files PUBLIC quenda_engine)

quenda_add_test(engine_modeconv_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/modeconv_test.cpp
  LIBS modeconv_test_files quenda_engine
  DEPENDS ${modeconv_test_plugins})

quenda_add_test(engine_modeconv_cancel_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/modeconv_cancel_test.cpp
  LIBS modeconv_test_files quenda_engine
  LABELS threads
  DEPENDS ${modeconv_test_plugins})
