# Support shared by the Win32 test programs: pixels and screen capture, screenshots,
# message pumps, mouse messages, modal runs and the in-process card fixture. Named so
# that the glob includes it before the fragments that link it.
file(GLOB win32_test_support_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/support/*.cpp)
add_library(wave_win32_test_support STATIC ${win32_test_support_sources})
target_link_libraries(wave_win32_test_support PUBLIC wave_controls wave_framework wave_emulator_port gtest)
get_filename_component(win32_test_build_root ${CMAKE_BINARY_DIR} DIRECTORY)
target_compile_definitions(wave_win32_test_support
  PRIVATE "WAVE_SCREENSHOT_DIR=\"Z:${win32_test_build_root}/screenshots\"")
