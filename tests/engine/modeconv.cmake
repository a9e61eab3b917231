# Tests of the field-exchange task, on real KDT files through the real plug-ins. One case runs
# the task on a worker thread, so the ThreadSanitizer build runs this program.
set(modeconv_test_plugins "")
if(TARGET kdtplug AND TARGET bmpplug)
  set(modeconv_test_plugins kdtplug bmpplug)
endif()

quenda_add_test(engine_modeconv_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/modeconv_test.cpp
  LIBS quenda_engine
  LABELS threads
  DEPENDS ${modeconv_test_plugins})
