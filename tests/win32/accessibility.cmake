# Accessibility under Wine: the main, diagnostics and custom synchronization
# windows' controls read through oleacc as a screen reader would, on the
# in-process card.
file(GLOB accessibility_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/accessibility_*.cpp)
wave_win32_test(accessibility
  SOURCES ${accessibility_test_sources}
    ${CMAKE_CURRENT_LIST_DIR}/panel_harness.cpp ${CMAKE_CURRENT_LIST_DIR}/windows_harness.cpp
  LIBS wave_win32_test_support wave_panel wave_windows wave_controls wave_resources wave_framework wave_device wave_emulator_port oleacc)
