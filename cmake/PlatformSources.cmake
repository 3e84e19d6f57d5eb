# Platform files: one per platform difference (NAME_posix.cpp,
# NAME_windows.cpp, NAME_web.cpp), at any depth; only the one matching the
# target is built. The WebAssembly build (emscripten, which offers a POSIX
# C library) takes NAME_web.cpp where there is one, else NAME_posix.cpp.
function(plof_keep_platform_sources variable)
  set(sources ${${variable}})
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_(posix|web)\\.cpp$")
  elseif(EMSCRIPTEN)
    list(FILTER sources EXCLUDE REGEX "_windows\\.cpp$")
    set(web_sources ${sources})
    list(FILTER web_sources INCLUDE REGEX "_web\\.cpp$")
    foreach(web_source ${web_sources})
      string(REGEX REPLACE "_web\\.cpp$" "_posix.cpp" posix_source ${web_source})
      list(REMOVE_ITEM sources ${posix_source})
    endforeach()
  else()
    list(FILTER sources EXCLUDE REGEX "_(windows|web)\\.cpp$")
  endif()
  set(${variable} ${sources} PARENT_SCOPE)
endfunction()
