# The files a desktop reads, checked by the tools Debian's desktops use: the desktop entry
# (desktop-file-validate says nothing: no error, warning or hint), the manual page (mandoc
# -Tlint says nothing), and the MIME data, which tells NMEA logs by name and by their first
# bytes while another log stays text.
#   cmake -DSOURCE=folder -DWORK=folder -P check_desktop_files.cmake
find_program(VALIDATE desktop-file-validate REQUIRED)
find_program(MANDOC mandoc REQUIRED)
find_program(UPDATE_MIME update-mime-database REQUIRED)
find_program(GIO gio REQUIRED)

function(expect_silence)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(failed OR NOT said STREQUAL "")
    message(FATAL_ERROR "${ARGN}:\n${said}")
  endif()
endfunction()
expect_silence(${VALIDATE} ${SOURCE}/packaging/korvel.desktop)
expect_silence(${MANDOC} -Tlint ${SOURCE}/packaging/korvel.1)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/mime/packages)
configure_file(${SOURCE}/packaging/korvel-mime.xml ${WORK}/mime/packages/korvel.xml COPYONLY)
execute_process(COMMAND ${UPDATE_MIME} ${WORK}/mime OUTPUT_QUIET ERROR_QUIET)
configure_file(${SOURCE}/Tracks/sample.log ${WORK}/files/sample.log COPYONLY)
file(WRITE ${WORK}/files/receiver.log "# Name: a receiver\n# Date: 2019-04-06\n\n"
           "$GNGGA,120000.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*4F\r\n")
file(WRITE ${WORK}/files/ride.nmea "A ride, recorded by hand\n")
file(WRITE ${WORK}/files/system.log "Dec  9 12:00:00 host kernel: started\n")
file(WRITE ${WORK}/files/notes.log "# not a log of sentences\nplain text\n")
foreach(pair sample.log:application/x-nmea-log receiver.log:application/x-nmea-log
        ride.nmea:application/x-nmea-log system.log:text/x-log notes.log:text/x-log)
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 name)
  list(GET pair 1 expected)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${WORK} XDG_DATA_DIRS=/usr/share
                          ${GIO} info -a standard::content-type ${WORK}/files/${name}
                  OUTPUT_VARIABLE info ERROR_QUIET)
  if(NOT info MATCHES "content-type: ${expected}\n")
    message(FATAL_ERROR "${name} is not ${expected}: ${info}")
  endif()
endforeach()
