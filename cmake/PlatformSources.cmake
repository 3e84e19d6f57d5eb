# Platform files: one per platform difference (NAME_posix.cpp, NAME_windows.cpp),
# at any depth; only the one matching the target is built.
function(plof_keep_platform_sources variable)
  set(sources ${${variable}})
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_windows\\.cpp$")
  endif()
  set(${variable} ${sources} PARENT_SCOPE)
endfunction()
