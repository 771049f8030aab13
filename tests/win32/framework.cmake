# The thin window framework under Wine: message maps, default processing, modal
# dialogs subclassed at creation, the application object and the GDI wrappers.
file(GLOB framework_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/framework_*.cpp)
wave_win32_test(framework
  SOURCES ${framework_sources}
  LIBS wave_framework wave_resources)
