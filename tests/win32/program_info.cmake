# The version resource and the manifest of both programs, the i686 product and the
# x86_64 build, read from their files (the i686 one cannot run here). make build
# builds the i686 tree before the tests run.
get_filename_component(program_info_build_root ${CMAKE_BINARY_DIR} DIRECTORY)
set(WAVE_I686_TREE ${program_info_build_root}/win32 CACHE PATH "the i686 build tree whose program the tests read")
wave_win32_test(program_info
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/program_info_test.cpp
  LIBS version)
add_dependencies(program_info WaveSettings)
target_compile_definitions(program_info PRIVATE
  "WAVE_PROGRAM_I686=\"Z:${WAVE_I686_TREE}/app/WaveSettings.exe\""
  "WAVE_PROGRAM_X86_64=\"Z:$<TARGET_FILE:WaveSettings>\""
  "WAVE_EXPECTED_VERSION=\"${PROJECT_VERSION}\""
  WAVE_EXPECTED_MAJOR=${PROJECT_VERSION_MAJOR}
  WAVE_EXPECTED_MINOR=${PROJECT_VERSION_MINOR}
  WAVE_EXPECTED_PATCH=${PROJECT_VERSION_PATCH})
