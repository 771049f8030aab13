# The skin pictures: sizes, bit depths, captions, lamps, tiling and the fader's shapes,
# measured on the files the build drew; also saves build/skin-sheet.png for a person to look at.
add_test(NAME skin_pictures_check
  COMMAND ${WAVE_PYTHON} -B ${CMAKE_SOURCE_DIR}/tools/skin_check.py
          --skin ${WAVE_SKIN_DIR} --sheet ${CMAKE_BINARY_DIR}/../skin-sheet.png)
set_tests_properties(skin_pictures_check PROPERTIES TIMEOUT 300)
