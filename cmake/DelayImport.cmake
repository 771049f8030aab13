# Delay-loaded system DLLs: the program links them as usual, but each DLL is loaded
# only when one of its functions is first called, not when the program starts.
# wave_delay_import(TARGET dll...) makes the interface library TARGET. Each DLL's
# delay-import library is built at configure time from the toolchain's own import
# library, so every function the DLL exports can be called through it.
function(wave_delay_import target)
  add_library(${target} INTERFACE)
  set(dir ${CMAKE_BINARY_DIR}/delay-import)
  file(MAKE_DIRECTORY ${dir})
  foreach(dll IN LISTS ARGN)
    find_library(import_${dll} NAMES ${dll} NO_CACHE REQUIRED)
    execute_process(COMMAND ${CMAKE_NM} --defined-only ${import_${dll}}
      OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    # __imp_Name on x86_64, __imp__Name@bytes for i686's stdcall functions.
    string(REGEX MATCHALL " I __imp__?[A-Za-z0-9_@]+" imports "${symbols}")
    list(TRANSFORM imports REPLACE "^ I __imp__?" "")
    list(REMOVE_DUPLICATES imports)
    list(JOIN imports "\n" exports)
    file(WRITE ${dir}/${dll}.def "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
    # The DLLs export undecorated names; --kill-at strips i686's @bytes from them.
    execute_process(COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${dir}/${dll}.def
      --dllname ${dll}.dll --output-delaylib ${dir}/lib${dll}_delay.a COMMAND_ERROR_IS_FATAL ANY)
    target_link_libraries(${target} INTERFACE ${dir}/lib${dll}_delay.a)
  endforeach()
endfunction()
