# cardctl's command parsing and status formatting, and the driver's request rules.
wave_native_test(cardctl_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/cardctl_command_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cardctl_format_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cardctl_rules_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cardctl_json.cpp
  LIBS wave_cardctl)
