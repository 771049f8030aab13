# The diagnostics, custom synchronization and about windows under Wine, on an
# in-process virtual card: requests from the card's log, pixels from the screen.
# Screenshots of the three windows go to build/screenshots for a person to look at.
file(GLOB windows_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/windows_*.cpp)
wave_win32_test(windows_dialogs
  SOURCES ${windows_test_sources}
  LIBS wave_win32_test_support wave_panel wave_windows wave_controls wave_resources wave_framework wave_device wave_emulator_port)
