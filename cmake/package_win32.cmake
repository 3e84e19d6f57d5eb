# Packs the 32-bit Windows module for the host's users (run by the
# plof_package target with cmake -P): plof.p, the settings reference, the
# example settings files, the install text and the licences of what is
# linked into plof.p, in DIST_DIR/plof-VERSION-win32.zip. The module goes in
# stripped of its debug information, which stays beside the zip in
# DIST_DIR/plof-VERSION-win32-debug/plof.p.debug (the stripped module names
# it in its .gnu_debuglink section, so a debugger finds it when it lies
# beside plof.p) for reading a crash report later.
# Expects SOURCE_DIR, MODULE, OBJCOPY, VERSION, STAGE_DIR, DIST_DIR, DOC_DIR.
set(name plof-${VERSION}-win32)
set(settings_reference ${SOURCE_DIR}/docs/settings.md)
set(gcc_copyright ${DOC_DIR}/gcc-mingw-w64-base/copyright)
set(mingw_copyright ${DOC_DIR}/mingw-w64-i686-dev/copyright)
foreach(input ${MODULE} ${settings_reference} ${gcc_copyright} ${mingw_copyright})
  if(NOT EXISTS ${input})
    message(FATAL_ERROR "package: ${input} is missing; it belongs in the package")
  endif()
endforeach()

set(stage ${STAGE_DIR}/${name})
file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${stage}/examples ${stage}/licenses)
file(MAKE_DIRECTORY ${DIST_DIR})
set(debug_dir ${DIST_DIR}/${name}-debug)
file(REMOVE_RECURSE ${debug_dir})
file(MAKE_DIRECTORY ${debug_dir})
get_filename_component(module_name ${MODULE} NAME)
set(debug_file ${debug_dir}/${module_name}.debug)
execute_process(COMMAND ${OBJCOPY} --only-keep-debug ${MODULE} ${debug_file} RESULT_VARIABLE failed)
if(NOT failed)
  execute_process(COMMAND ${OBJCOPY} --strip-all --add-gnu-debuglink=${debug_file} ${MODULE} ${stage}/${module_name}
                  RESULT_VARIABLE failed)
endif()
if(failed)
  message(FATAL_ERROR "package: ${OBJCOPY} could not split ${MODULE} into a stripped module and ${debug_file}")
endif()
file(COPY_FILE ${settings_reference} ${stage}/settings.md)
file(GLOB example_settings ${SOURCE_DIR}/examples/settings/*.plf)
file(COPY ${example_settings} DESTINATION ${stage}/examples)
set(PLOF_VERSION ${VERSION})
# Windows readers expect CR LF in text files.
configure_file(${SOURCE_DIR}/packaging/win32/INSTALL.txt ${stage}/INSTALL.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${SOURCE_DIR}/packaging/win32/LICENSES.txt ${stage}/licenses/README.txt @ONLY NEWLINE_STYLE CRLF)
file(COPY_FILE ${gcc_copyright} ${stage}/licenses/gcc-runtime.txt)
file(COPY_FILE ${mingw_copyright} ${stage}/licenses/mingw-w64-runtime.txt)

set(archive ${DIST_DIR}/${name}.zip)
file(REMOVE ${archive})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${archive} --format=zip ${name}
                WORKING_DIRECTORY ${STAGE_DIR} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "package: could not write ${archive}")
endif()
message(STATUS "package: wrote ${archive}, and the module's debug information to ${debug_file}")
