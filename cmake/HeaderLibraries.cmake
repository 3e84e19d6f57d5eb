# Debian's header-only libraries, as the same targets in every build:
# fmt::fmt-header-only (formatting numbers), FastFloat::fast_float (reading
# them) and, for the stand-in host, nlohmann_json::nlohmann_json. A native build
# finds them by their CMake packages. A cross build (32-bit Windows,
# WebAssembly) must not search the native /usr/include, which holds the native
# C library's headers too: it is offered each library's folder alone, through
# a folder of links in the build tree.
set(PLOF_NATIVE_HEADER_LINKS ${CMAKE_BINARY_DIR}/native-headers)

# Defines the INTERFACE IMPORTED `target` over /usr/include/FOLDER, found by
# HEADER inside it, for a cross build.
function(plof_native_header_folder target folder header)
  find_path(PLOF_${folder}_INCLUDE ${folder}/${header} PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT PLOF_${folder}_INCLUDE)
    message(FATAL_ERROR "/usr/include/${folder}/${header} is missing: run scripts/install-deps")
  endif()
  file(MAKE_DIRECTORY ${PLOF_NATIVE_HEADER_LINKS})
  file(CREATE_LINK ${PLOF_${folder}_INCLUDE}/${folder} ${PLOF_NATIVE_HEADER_LINKS}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  target_include_directories(${target} SYSTEM INTERFACE ${PLOF_NATIVE_HEADER_LINKS})
endfunction()

if(CMAKE_CROSSCOMPILING)
  plof_native_header_folder(fmt::fmt-header-only fmt format.h)
  # What fmt's own package gives its header-only target.
  target_compile_definitions(fmt::fmt-header-only INTERFACE FMT_HEADER_ONLY=1)
  plof_native_header_folder(FastFloat::fast_float fast_float fast_float.h)
  if(PLOF_BUILD_HOST)
    plof_native_header_folder(nlohmann_json::nlohmann_json nlohmann json.hpp)
  endif()
else()
  find_package(fmt 9 REQUIRED)
  find_package(FastFloat REQUIRED)
  if(PLOF_BUILD_HOST)
    find_package(nlohmann_json 3 REQUIRED)
  endif()
endif()
