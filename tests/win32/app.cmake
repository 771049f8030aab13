# Start-up under Wine: in-process on the virtual card, and the real program started
# as a second copy, which may open the prefix's driver.
file(GLOB app_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/app_*.cpp)
wave_win32_test(app_startup
  SOURCES ${app_test_sources}
  LIBS wave_app wave_win32_test_support wave_emulator_port wave_resources)
add_dependencies(app_startup WaveSettings)
target_compile_definitions(app_startup PRIVATE WAVE_SETTINGS_EXE="$<TARGET_FILE:WaveSettings>")
# The copy started while the first one closes opens its panel on the driver.
if(WAVE_RUN_TESTS)
  set_tests_properties(app_startup PROPERTIES RESOURCE_LOCK zelkwave_driver)
endif()
