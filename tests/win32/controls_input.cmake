# The fader, the knob and the drop-down list, in-process under Wine: driven by the
# mouse messages their windows receive, read back from pixels and from the parent's
# messages. The first controls' harness supplies the test parent.
file(GLOB controls_input_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/controls_input_*.cpp)
wave_win32_test(controls_input
  SOURCES ${controls_input_sources} ${CMAKE_CURRENT_LIST_DIR}/controls_basic_harness.cpp
  LIBS wave_win32_test_support wave_controls wave_resources wave_framework)
