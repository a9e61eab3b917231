# The files the jobs write, compared by digest with the files they wrote when the table was made.
set(identity_test_plugins "")
if(TARGET kdtplug AND TARGET bmpplug)
  set(identity_test_plugins kdtplug bmpplug)
endif()
quenda_add_test(engine_output_identity_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/output_identity_test.cpp
  LIBS quenda_engine
  DEPENDS ${identity_test_plugins})
