# Warnings for every target of the project.
add_library(plof_warnings INTERFACE)
if(MSVC)
  target_compile_options(plof_warnings INTERFACE /W4)
else()
  target_compile_options(plof_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    -Wno-sign-conversion -Wcast-qual -Wformat=2 -Wnull-dereference -Wdouble-promotion)
endif()
