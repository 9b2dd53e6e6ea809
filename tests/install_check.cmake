# Installs into a scratch prefix and checks the files a desktop needs, then
# asks the MIME database built from our type whether it knows *.VX files.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(expected
  bin/vexa
  bin/vexa-tool
  share/applications/vexa.desktop
  share/mime/packages/vexa.xml
  share/icons/hicolor/scalable/apps/vexa.svg
  share/vexa/demo.VX
  share/vexa/puzzles/01-beach.VX
  share/vexa/puzzles/08-forest.VX
  share/metainfo/org.vexa.vexa.metainfo.xml
  share/man/man6/vexa.6
  share/man/man1/vexa-tool.1
  share/doc/vexa/README.md)
foreach(size 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/vexa.png)
endforeach()
foreach(f ${expected})
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "missing after install: ${f}")
  endif()
endforeach()

find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
  execute_process(COMMAND ${UPDATE_MIME} ${PREFIX}/share/mime RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  file(READ ${PREFIX}/share/mime/globs2 globs)
  file(READ ${PREFIX}/share/mime/magic magic HEX)
  if(NOT rc EQUAL 0 OR NOT globs MATCHES "application/x-vexa-puzzle:\\*\\.vx")
    message(FATAL_ERROR "the MIME database has no glob for *.vx")
  endif()
  if(NOT magic MATCHES "0a0089f090cd8bd68e7e8149")
    message(FATAL_ERROR "the MIME database has no magic for the puzzle header")
  endif()
endif()
message(STATUS "install into ${PREFIX}: every file in place")
