# Builds the Debian package from this build tree and checks its control data:
# the libraries come from dpkg-shlibdeps, and the files sit under /usr.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND cpack -G DEB -B ${OUT} --config ${BINARY_DIR}/CPackConfig.cmake
                WORKING_DIRECTORY ${BINARY_DIR} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cpack failed: ${rc}\n${out}\n${err}")
endif()
file(GLOB debs ${OUT}/vexa_*.deb)
list(LENGTH debs n)
if(NOT n EQUAL 1)
  message(FATAL_ERROR "expected one vexa_*.deb in ${OUT}, found: ${debs}")
endif()
execute_process(COMMAND dpkg-deb --field ${debs} Depends OUTPUT_VARIABLE depends RESULT_VARIABLE rc)
foreach(want "libqt6widgets6" "libqt6network6" "libc6" "libstdc++6" "libjpeg62-turbo" "fonts-noto-cjk"
             "qt6-translations-l10n" "libopencv-core" "libopencv-imgproc" "libopencv-photo")
  string(FIND "${depends}" "${want}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "Depends lacks ${want}: ${depends}")
  endif()
endforeach()
execute_process(COMMAND dpkg-deb --contents ${debs} OUTPUT_VARIABLE contents)
foreach(want "./usr/bin/vexa" "./usr/bin/vexa-tool" "./usr/share/applications/vexa.desktop"
             "./usr/share/metainfo/org.vexa.vexa.metainfo.xml" "./usr/share/doc/vexa/README.md"
             "./usr/share/man/man6/vexa.6" "./usr/share/vexa/puzzles/01-beach.VX"
             "./usr/share/vexa/puzzles/08-forest.VX")
  string(FIND "${contents}" "${want}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package lacks ${want}")
  endif()
endforeach()
message(STATUS "${debs}: Depends: ${depends}")
