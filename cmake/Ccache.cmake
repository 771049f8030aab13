# Compiles go through ccache when it is installed, so that a clone on a machine that has
# built the project before recompiles only what changed. Paths under the source tree are
# hashed relative to it, so clones in other folders share the cache in ~/.cache/ccache.
# windres has no cache support; resources are few and compile fast.
# Usage: include(Ccache) after setting WAVE_ROOT to the repository's top folder.
find_program(WAVE_CCACHE ccache)
if(WAVE_CCACHE)
  set(launcher ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${WAVE_ROOT} CCACHE_NOHASHDIR=1 ${WAVE_CCACHE})
  set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
endif()
