# cmake --install of the built tree into PREFIX, then a check that every file
# lands where the programs and the desktop look for it.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(expected "${BINDIR}/pagora-cli")
if(GUI)
  list(APPEND expected
    "${BINDIR}/pagora"
    "${DATADIR}/pagora/help/index.html"
    "${DATADIR}/pagora/help/style.css"
    "${DATADIR}/applications/pagora.desktop"
    "${DATADIR}/mime/packages/pagora.xml"
    "${DATADIR}/icons/hicolor/scalable/apps/pagora.svg"
    "${DATADIR}/icons/hicolor/scalable/mimetypes/application-x-pagora-comic.svg")
endif()
foreach(file IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# The editor finds its help in share/pagora/help beside its own folder.
if(GUI AND NOT "${BINDIR}/../${DATADIR}" STREQUAL "bin/../share")
  message(FATAL_ERROR "the editor looks for its help in share beside bin, not ${DATADIR}")
endif()

# The installed command line tool runs from the prefix.
execute_process(COMMAND "${PREFIX}/${BINDIR}/pagora-cli" tree "${SAMPLE}"
                RESULT_VARIABLE status OUTPUT_VARIABLE tree)
if(NOT status EQUAL 0 OR NOT tree MATCHES "\\([0-9]+\\)\n")
  message(FATAL_ERROR "the installed pagora-cli does not run: ${status}\n${tree}")
endif()

# The desktop entry and the file type pass the desktop's own checks, where
# those are installed.
find_program(validate desktop-file-validate)
if(GUI AND validate)
  execute_process(COMMAND "${validate}" "${PREFIX}/${DATADIR}/applications/pagora.desktop"
                  RESULT_VARIABLE status OUTPUT_VARIABLE complaints ERROR_VARIABLE complaints)
  if(NOT status EQUAL 0 OR NOT complaints STREQUAL "")
    message(FATAL_ERROR "pagora.desktop: ${complaints}")
  endif()
endif()
find_program(update_mime update-mime-database)
if(GUI AND update_mime)
  execute_process(COMMAND "${update_mime}" "${PREFIX}/${DATADIR}/mime" RESULT_VARIABLE status
                  OUTPUT_VARIABLE complaints ERROR_VARIABLE complaints)
  file(READ "${PREFIX}/${DATADIR}/mime/globs2" globs)
  if(NOT status EQUAL 0 OR NOT globs MATCHES "application/x-pagora-comic:\\*\\.csf")
    message(FATAL_ERROR "pagora.xml: ${status} ${complaints}")
  endif()
endif()
file(REMOVE_RECURSE "${PREFIX}")
