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

# pkg-config would otherwise report this machine's native libraries (cairo),
# which cannot be linked into a Windows program: look only in the MinGW tree.
set(ENV{PKG_CONFIG_LIBDIR} "${CMAKE_FIND_ROOT_PATH}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
