# The main window under Wine on an in-process virtual card: requests read from the
# card's log, controls and pixels read back from the window.
file(GLOB panel_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/panel_*.cpp)
wave_win32_test(panel_window
  SOURCES ${panel_test_sources}
  LIBS wave_win32_test_support wave_panel wave_emulator_port wave_resources)
