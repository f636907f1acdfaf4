# The Debian package, made with `cpack -G DEB` in a build folder: both programs, the menu
# entry, the file types, the icon and the manual pages in English and Japanese; the libraries
# the programs need are found by dpkg-shlibdeps.
include(GNUInstallDirs)

# Manual pages go compressed, as Debian installs them.
set(_pelo_man_outputs)
set(_pelo_serve_page)
if(PELO_SERVE)
  set(_pelo_serve_page pelo-serve.1)
endif()
foreach(_pelo_lang IN ITEMS "" "ja")
  foreach(_pelo_page IN ITEMS pelo.1 pelo-agenda.1 ${_pelo_serve_page})
    set(_pelo_source ${PROJECT_SOURCE_DIR}/docs/man/${_pelo_lang}/${_pelo_page})
    set(_pelo_output ${PROJECT_BINARY_DIR}/man/${_pelo_lang}/${_pelo_page}.gz)
    add_custom_command(OUTPUT ${_pelo_output}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man/${_pelo_lang}
                       COMMAND gzip -9nc ${_pelo_source} > ${_pelo_output}
                       DEPENDS ${_pelo_source} VERBATIM)
    list(APPEND _pelo_man_outputs ${_pelo_output})
    install(FILES ${_pelo_output} DESTINATION ${CMAKE_INSTALL_MANDIR}/${_pelo_lang}/man1)
  endforeach()
endforeach()
add_custom_target(pelo_man_pages ALL DEPENDS ${_pelo_man_outputs})

# The licence, where Debian keeps every package's.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/pelo
        RENAME copyright)

# Whoever builds a package for others names himself here.
set(PELO_DEB_MAINTAINER "The Pelo developers <pelo@localhost>"
    CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelo)
set(CPACK_PACKAGE_CONTACT "${PELO_DEB_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "read-only viewer for Nerika schedule data files")
set(CPACK_PACKAGE_DESCRIPTION
    "Pelo shows the entries of Nerika data files (Shift-JIS text, one entry per
line with a date expression of its own language) in a grid of weeks, months
or free cycles, with the Japanese national holidays, eras, rokuyo and the old
lunisolar date. Nothing is ever written back to a data file.
.
pelo-agenda prints the same days as text, TSV or iCalendar.")
if(PELO_SERVE)
  string(APPEND CPACK_PACKAGE_DESCRIPTION "
.
pelo-serve publishes them as a calendar feed to subscribe to and as a web page,
read only, always as the files are on disk (a systemd user unit is included).")
endif()
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What no library link shows: Qt's Japanese texts and the fonts the pages' font names map to.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-translations-l10n, fonts-ipafont-gothic, fonts-ipafont-mincho")
include(CPack)
