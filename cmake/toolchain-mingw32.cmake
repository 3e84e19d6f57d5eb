# Cross-builds the module as the 32-bit Windows DLL that the real host loads.
# FloatingPoint.cmake adds -msse2 -mfpmath=sse for this processor, so the DLL
# computes with the same double precision as the native build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(PLOF_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${PLOF_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${PLOF_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${PLOF_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PLOF_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
