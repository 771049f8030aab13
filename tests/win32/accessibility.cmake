# Accessibility under Wine: the main, diagnostics and custom synchronization
# windows' controls read through oleacc as a screen reader would, on the
# in-process card; accessibility_client is the reader in another process.
add_executable(accessibility_client ${CMAKE_CURRENT_LIST_DIR}/accessibility_client.cpp
  ${CMAKE_CURRENT_LIST_DIR}/accessibility_support.cpp)
target_link_libraries(accessibility_client PRIVATE oleacc oleaut32 ole32 uuid)

file(GLOB accessibility_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/accessibility_*_test.cpp)
wave_win32_test(accessibility
  SOURCES ${accessibility_test_sources} ${CMAKE_CURRENT_LIST_DIR}/accessibility_expect.cpp
    ${CMAKE_CURRENT_LIST_DIR}/accessibility_support.cpp
    ${CMAKE_CURRENT_LIST_DIR}/panel_harness.cpp ${CMAKE_CURRENT_LIST_DIR}/windows_harness.cpp
  LIBS wave_win32_test_support wave_panel wave_windows wave_controls wave_resources wave_framework wave_device wave_emulator_port)
add_dependencies(accessibility accessibility_client)
target_compile_definitions(accessibility PRIVATE ACCESSIBILITY_CLIENT="$<TARGET_FILE:accessibility_client>")
