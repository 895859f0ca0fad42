# Installs the build into a staging folder as "cmake --install" does, and builds the Debian
# package as "cpack -G DEB" does: every file in its usual place, the desktop entry naming the
# file types it opens, and the program of the package running beside its samples.
#   cmake -DBUILD=folder -DSTAGE=folder -P check_install.cmake
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${STAGE}/usr
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()
set(files bin/korvel libexec/korvel/korvel-window share/korvel/Tracks/sample.log share/korvel/Tracks/sample.trk
    share/applications/korvel.desktop share/mime/packages/korvel.xml
    share/icons/hicolor/scalable/apps/korvel.svg share/man/man1/korvel.1.gz
    share/doc/korvel/copyright share/doc/korvel/changelog.gz)
function(expect_files root missing)
  foreach(installed ${files})
    if(NOT EXISTS ${root}/usr/${installed})
      message(FATAL_ERROR "${missing}: ${installed}")
    endif()
  endforeach()
endfunction()
expect_files(${STAGE} "not installed")
file(READ ${STAGE}/usr/share/applications/korvel.desktop desktop)
string(REGEX MATCH "\nMimeType=[^\n]*" types "${desktop}")
foreach(type application/gpx+xml application/vnd.google-earth.kml+xml application/x-nmea-log
        application/x-oziexplorer-track)
  string(FIND "${types}" "${type};" at)
  if(at LESS 0)
    message(FATAL_ERROR "the desktop entry does not open ${type}")
  endif()
endforeach()

execute_process(COMMAND cpack -G DEB --config ${BUILD}/CPackConfig.cmake -B ${STAGE}/deb
                RESULT_VARIABLE failed OUTPUT_VARIABLE built ERROR_VARIABLE built)
file(GLOB package ${STAGE}/deb/korvel_*.deb)
if(failed OR NOT package)
  message(FATAL_ERROR "cpack -G DEB failed: ${built}")
endif()
# A package Debian would take: lintian finds no error and no warning.
find_program(LINTIAN lintian REQUIRED)
execute_process(COMMAND ${LINTIAN} --fail-on error,warning ${package}
                RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_QUIET)
if(failed)
  message(FATAL_ERROR "lintian on the package:\n${said}")
endif()
execute_process(COMMAND dpkg-deb --field ${package} Depends OUTPUT_VARIABLE depends)
if(NOT depends MATCHES "libqt6serialport6" OR NOT depends MATCHES "qt6-qpa-plugins")
  message(FATAL_ERROR "the package depends on: ${depends}")
endif()
execute_process(COMMAND dpkg-deb -x ${package} ${STAGE}/root)
expect_files(${STAGE}/root "not in the package")
execute_process(COMMAND ${STAGE}/root/usr/bin/korvel replay
                        ${STAGE}/root/usr/share/korvel/Tracks/sample.trk --port none
                        --interval max --echo --sentences RMC --ini ${STAGE}/Korvel.ini
                RESULT_VARIABLE failed OUTPUT_VARIABLE sent ERROR_VARIABLE said)
string(REGEX MATCHALL "\\$GPRMC" records "${sent}")
list(LENGTH records count)
if(failed OR NOT count EQUAL 180)
  message(FATAL_ERROR "the packaged program sent ${count} of the sample's 180 records: ${said}")
endif()

# The first run of the installed program in an empty home: it serves the TCP port of NMEA over
# IP without root, says so, waits for its first client until it is stopped, and leaves the home
# as it was; the command finds its window.
set(home ${STAGE}/home)
file(MAKE_DIRECTORY ${home})
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_CONFIG_HOME --unset=XDG_DATA_HOME
                        --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
                        HOME=${home} timeout --preserve-status -s INT 2 ${STAGE}/root/usr/bin/korvel replay
                        ${STAGE}/root/usr/share/korvel/Tracks/sample.log --interval max
                RESULT_VARIABLE failed OUTPUT_QUIET ERROR_VARIABLE said)
# Another program may hold the port on this machine: the run that says so chose it too.
if(NOT (said MATCHES "^korvel: serving NMEA on TCP port 10110 " AND NOT failed) AND
   NOT said MATCHES "^korvel: TCP: [^\n]*port 10110: [^\n]*in use")
  message(FATAL_ERROR "the first run said: ${said}")
endif()
file(GLOB_RECURSE left ${home}/* LIST_DIRECTORIES true)
if(left)
  message(FATAL_ERROR "a run that saves nothing left in the home: ${left}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                        --unset=QT_QPA_PLATFORM HOME=${home} ${STAGE}/root/usr/bin/korvel
                RESULT_VARIABLE failed ERROR_VARIABLE said)
if(NOT said MATCHES "no display to open the window on")
  message(FATAL_ERROR "the installed command did not start its window: ${said}")
endif()
