# What a Windows user gets. make build builds the i686 tree's program and packs
# both zips (make dist) before the tests run.
get_filename_component(release_build_root ${CMAKE_BINARY_DIR} DIRECTORY)
set(WAVE_I686_TREE ${release_build_root}/win32 CACHE PATH "the i686 build tree whose program and zip the tests read")
find_program(WAVE_I686_STRIP i686-w64-mingw32-strip)

# The version resource and the manifest of both programs, read from their files
# (the i686 one cannot run here).
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

# The release zips: what both hold, and the x86_64 one's program unpacked into an
# empty folder and started on the virtual card's kernel driver.
if(WAVE_RUN_TESTS)
  add_test(NAME dist_zips
    COMMAND /usr/bin/python3 -B ${CMAKE_SOURCE_DIR}/tests/e2e/dist_zip.py
      ${WAVE_I686_TREE}/dist/WaveSettings-${PROJECT_VERSION}-win32.zip i686 ${WAVE_DIST_ZIP} x86_64)
  # Each zip packed twice from its tree's program, as wave_dist packs it, gives the same bytes.
  add_test(NAME dist_reproducible
    COMMAND /usr/bin/python3 -B ${CMAKE_SOURCE_DIR}/tests/e2e/dist_reproducible.py
      ${WAVE_I686_STRIP} ${WAVE_I686_TREE}/app/WaveSettings.exe ${WAVE_I686_TREE}/app/README.txt
      ${CMAKE_STRIP} $<TARGET_FILE:WaveSettings> ${CMAKE_BINARY_DIR}/app/README.txt)
  add_test(NAME e2e_dist
    COMMAND /usr/bin/python3 -B ${CMAKE_SOURCE_DIR}/tests/e2e/e2e_dist.py
      ${CMAKE_BINARY_DIR} ${WAVE_DIST_ZIP} ${CMAKE_BINARY_DIR}/e2e-dist/screenshots $<TARGET_FILE:e2e_window_texts>)
  # It starts the program on the one driver of the prefix and clicks on the display.
  set_tests_properties(e2e_dist PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK zelkwave_driver TIMEOUT 600)
endif()

# The pictures of docs/ are screenshots that these programs' tests save (named in
# scripts/docs.py). The check runs after them; `make docs` runs them (label
# screenshots) and takes the pictures again.
set(docs_programs panel_window windows_dialogs)
add_custom_target(docs_programs)
add_dependencies(docs_programs ${docs_programs})
if(WAVE_RUN_TESTS)
  add_test(NAME docs_pictures
    COMMAND /usr/bin/python3 -B ${CMAKE_SOURCE_DIR}/scripts/docs.py check ${release_build_root}/screenshots ${CMAKE_SOURCE_DIR}/docs)
  set_tests_properties(docs_pictures PROPERTIES FIXTURES_REQUIRED screenshots)
  # The programs' tests are registered by fragments read after this one.
  cmake_language(DEFER CALL set_tests_properties ${docs_programs} PROPERTIES FIXTURES_SETUP screenshots LABELS screenshots)
endif()
