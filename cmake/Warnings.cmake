# Warnings for every target of the project.
add_library(plof_warnings INTERFACE)
if(MSVC)
  target_compile_options(plof_warnings INTERFACE /W4)
else()
  target_compile_options(plof_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    -Wno-sign-conversion -Wcast-qual -Wformat=2 -Wnull-dereference -Wdouble-promotion)
  # GCC 12 warns wrongly about overlapping copies inside libstdc++'s string
  # concatenation at -O3 (the release build), once per file that adds strings.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(plof_warnings INTERFACE -Wno-restrict)
  endif()
endif()
