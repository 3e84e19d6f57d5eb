# The module's arithmetic must give the same bits on the native, the 32-bit
# Windows and the WebAssembly build: SSE2 double precision everywhere (no x87
# extended precision; WebAssembly's doubles are IEEE 754 operations anyway),
# no contraction of a*b+c into fused multiply-adds, no fast-math.
add_library(plof_floating_point INTERFACE)
if(NOT MSVC)
  target_compile_options(plof_floating_point INTERFACE -ffp-contract=off -fno-fast-math)
  # Emscripten's toolchain calls its processor "x86" too.
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i.86|x86)$" AND NOT EMSCRIPTEN)
    target_compile_options(plof_floating_point INTERFACE -msse2 -mfpmath=sse)
  endif()
endif()
