# Builds for WebAssembly with Debian's emscripten (scripts/install-deps --web):
# its own toolchain file, plus what every target of this build needs.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# The host turns errors into messages by catching them: emscripten's prebuilt
# libraries offer only its JavaScript kind of exceptions, which cost a call
# through JavaScript wherever a call may throw past a handler or a destructor,
# so the per-point path keeps neither.
set(CMAKE_CXX_FLAGS_INIT "-fexceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions")

# The optimiser of emscripten's JavaScript needs Debian's acorn, which a node
# that is not Debian's does not find by itself.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
