# Pure laws of the controls, the main panel and the auxiliary windows.
set(laws_dir ${CMAKE_CURRENT_LIST_DIR})
wave_native_test(laws_controls
  SOURCES ${laws_dir}/laws_fader.cpp ${laws_dir}/laws_knob.cpp ${laws_dir}/laws_popup.cpp
  LIBS wave_controls_laws)
wave_native_test(laws_panel
  SOURCES ${laws_dir}/laws_panel_values.cpp ${laws_dir}/laws_panel_layout.cpp ${laws_dir}/laws_readouts.cpp
  LIBS wave_panel_laws)
wave_native_test(laws_windows
  SOURCES ${laws_dir}/laws_sync_layout.cpp ${laws_dir}/laws_about_layout.cpp
          ${laws_dir}/laws_diagnostics.cpp
  LIBS wave_windows_laws)
