# End to end: three copies of the real WaveSettings.exe started at once on the
# virtual card's kernel driver, twenty rounds; one copy must stay each time.
if(WAVE_RUN_TESTS)
  add_test(NAME e2e_instances
    COMMAND /usr/bin/python3 -B ${CMAKE_SOURCE_DIR}/tests/e2e/e2e_instances.py ${CMAKE_BINARY_DIR})
  # It uses the one driver of the prefix and clicks on the display.
  set_tests_properties(e2e_instances PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK zelkwave_driver TIMEOUT 600)
endif()
