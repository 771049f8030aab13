# End to end: the real WaveSettings.exe on the virtual card's kernel driver,
# worked with the mouse on the private display (tests/e2e/e2e_panel.py).
# e2e_window_texts reads the texts of the system's message boxes for it.
add_executable(e2e_window_texts ${CMAKE_SOURCE_DIR}/tests/e2e/e2e_window_texts.cpp)

if(WAVE_RUN_TESTS)
  add_test(NAME e2e_panel
    COMMAND /usr/bin/python3 -B ${CMAKE_SOURCE_DIR}/tests/e2e/e2e_panel.py
      ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/../screenshots $<TARGET_FILE:e2e_window_texts>)
  # It starts and stops the one driver of the prefix and owns the display's mouse.
  set_tests_properties(e2e_panel PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK zelkwave_driver TIMEOUT 900)
endif()
