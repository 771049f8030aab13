# The skin bitmap, bitmap cache, panel font, sunken frame, ranged base, button and label,
# in-process under Wine, read back from pixels and from the parent's messages.
file(GLOB controls_basic_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/controls_basic_*.cpp)
wave_win32_test(controls_basic
  SOURCES ${controls_basic_sources}
  LIBS wave_win32_test_support wave_controls wave_resources wave_framework)
