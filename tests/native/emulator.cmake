# The virtual card core: what the link, the kernel driver and cardctl rely on.
wave_native_test(emulator_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/emulator_core.cpp
    ${CMAKE_CURRENT_LIST_DIR}/emulator_private.cpp
    ${CMAKE_CURRENT_LIST_DIR}/emulator_replies.cpp
  LIBS wave_emulator_port wave_device)
