# The windows' polls on the program's poll thread: wakes, turns, stop and restart.
wave_native_test(framework_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/framework_poll_job.cpp
  LIBS wave_poll_job)
