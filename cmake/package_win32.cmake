# Packs the 32-bit Windows module for the host's users (run by the
# plof_package target with cmake -P): plof.p, the settings reference, the
# example settings files, the install text and the licences of what is
# linked into plof.p, in DIST_DIR/plof-VERSION-win32.zip.
# Expects SOURCE_DIR, MODULE, VERSION, STAGE_DIR, DIST_DIR, DOC_DIR.
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
file(COPY ${MODULE} DESTINATION ${stage})
file(COPY_FILE ${settings_reference} ${stage}/settings.md)
file(GLOB example_settings ${SOURCE_DIR}/examples/settings/*.plf)
file(COPY ${example_settings} DESTINATION ${stage}/examples)
set(PLOF_VERSION ${VERSION})
# Windows readers expect CR LF in text files.
configure_file(${SOURCE_DIR}/packaging/win32/INSTALL.txt ${stage}/INSTALL.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${SOURCE_DIR}/packaging/win32/LICENSES.txt ${stage}/licenses/README.txt @ONLY NEWLINE_STYLE CRLF)
file(COPY_FILE ${gcc_copyright} ${stage}/licenses/gcc-runtime.txt)
file(COPY_FILE ${mingw_copyright} ${stage}/licenses/mingw-w64-runtime.txt)

file(MAKE_DIRECTORY ${DIST_DIR})
set(archive ${DIST_DIR}/${name}.zip)
file(REMOVE ${archive})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${archive} --format=zip ${name}
                WORKING_DIRECTORY ${STAGE_DIR} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "package: could not write ${archive}")
endif()
message(STATUS "package: wrote ${archive}")
