# What Debian asks of every package beside the program: the manual page and the changelog
# compressed as dh_compress does (gzip -9n, no name or time inside), and the copyright in the
# machine-readable format with the licence's text.
find_program(GZIP gzip REQUIRED)
foreach(document korvel.1 changelog)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${document}.gz
    COMMAND ${GZIP} -9n -c ${CMAKE_SOURCE_DIR}/packaging/${document} > ${CMAKE_BINARY_DIR}/${document}.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${document})
endforeach()
add_custom_target(korvel_documents ALL
  DEPENDS ${CMAKE_BINARY_DIR}/korvel.1.gz ${CMAKE_BINARY_DIR}/changelog.gz)

# The licence's text, each line indented by one blank and an empty line as " .".
file(READ ${CMAKE_SOURCE_DIR}/LICENSE licence)
string(REGEX REPLACE "\n+$" "" licence "${licence}")
string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REGEX REPLACE "\n" "\n " licence "${licence}")
configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright.in ${CMAKE_BINARY_DIR}/copyright @ONLY)

install(FILES ${CMAKE_BINARY_DIR}/korvel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/copyright ${CMAKE_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
