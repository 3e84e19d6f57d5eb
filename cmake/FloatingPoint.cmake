# The module's arithmetic must give the same bits on the native and the 32-bit
# Windows build: SSE2 double precision everywhere (no x87 extended precision),
# no contraction of a*b+c into fused multiply-adds, no fast-math.
add_library(plof_floating_point INTERFACE)
if(NOT MSVC)
  target_compile_options(plof_floating_point INTERFACE -ffp-contract=off -fno-fast-math)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i.86|x86)$")
    target_compile_options(plof_floating_point INTERFACE -msse2 -mfpmath=sse)
  endif()
endif()
