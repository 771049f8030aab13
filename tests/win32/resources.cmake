# The program's resources as the program sees them: every bitmap, string, dialog
# template and the icon, loaded under Wine.
wave_win32_test(resources
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/resources_test.cpp
  LIBS wave_framework wave_resources)
