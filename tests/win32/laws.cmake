# The pure laws again, built with MinGW: the Windows C runtime's pow, log and cos
# must give the same truncated numbers as the native build.
set(laws_dir ${CMAKE_SOURCE_DIR}/tests/native)
wave_win32_test(laws_controls_mingw
  SOURCES ${laws_dir}/laws_fader.cpp ${laws_dir}/laws_knob.cpp ${laws_dir}/laws_popup.cpp
  LIBS wave_controls_laws)
wave_win32_test(laws_panel_mingw
  SOURCES ${laws_dir}/laws_panel_values.cpp ${laws_dir}/laws_panel_layout.cpp ${laws_dir}/laws_readouts.cpp
  LIBS wave_panel_laws)
wave_win32_test(laws_windows_mingw
  SOURCES ${laws_dir}/laws_sync_layout.cpp ${laws_dir}/laws_about_layout.cpp
          ${laws_dir}/laws_diagnostics.cpp
  LIBS wave_windows_laws)
