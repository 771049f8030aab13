# Device layer: framing, discovery, card operations, concurrency, bad replies, reconnection.
wave_native_test(device_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/device_framing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/device_discovery.cpp
    ${CMAKE_CURRENT_LIST_DIR}/device_operations.cpp
    ${CMAKE_CURRENT_LIST_DIR}/device_concurrency.cpp
    ${CMAKE_CURRENT_LIST_DIR}/device_bad_replies.cpp
    ${CMAKE_CURRENT_LIST_DIR}/device_reconnect.cpp
  LIBS wave_emulator_port wave_device)
