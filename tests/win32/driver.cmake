# The virtual card's kernel driver under Wine, reached through the program's real
# Win32 port, and cardctl. These tests share the one driver of the prefix, so they
# hold its lock; driver_client is the second client process they start.
add_executable(driver_client ${CMAKE_CURRENT_LIST_DIR}/driver_client.cpp)
target_link_libraries(driver_client PRIVATE wave_device)

wave_win32_test(driver_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/driver_harness.cpp
    ${CMAKE_CURRENT_LIST_DIR}/driver_transport_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/driver_operations_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/driver_cardctl_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/native/cardctl_json.cpp
  LIBS wave_device wave_emulator)
target_compile_definitions(driver_tests PRIVATE
  WAVE_CARDCTL="$<TARGET_FILE:cardctl>" WAVE_DRIVER_CLIENT="$<TARGET_FILE:driver_client>")
add_dependencies(driver_tests cardctl driver_client zelkwave_sys)

if(WAVE_RUN_TESTS)
  set_tests_properties(driver_tests PROPERTIES RESOURCE_LOCK zelkwave_driver)
  add_test(NAME driver_e2e COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/driver_cli.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(driver_e2e PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK zelkwave_driver TIMEOUT 300)
endif()
