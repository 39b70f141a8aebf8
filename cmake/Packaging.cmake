# `cpack -G DEB` in a build directory makes a Debian package of what `cmake --install`
# installs. The library dependencies are read off the program by dpkg-shlibdeps
# (package dpkg-dev); the Qt platform plugin for X11 comes with libqt6gui6. Configure the
# package build with -DBUILD_TESTING=OFF -DZEITWACHE_DEBIAN_BUILDFLAGS=ON (README,
# Installing) so that lintian finds nothing to complain of.

# The documents Debian asks of every package: the copyright (machine-readable, DEP-5),
# as this is a native package its changelog as changelog.gz, and the manual page. All
# are installed by every `cmake --install`, not only into the package.
find_program(ZEITWACHE_GZIP gzip REQUIRED)
set(zeitwache_doc_dir ${CMAKE_CURRENT_BINARY_DIR}/doc)
# share/doc/zeitwache: GNUInstallDirs would name it after the project, "Zeitwache".
set(zeitwache_doc_install_dir ${CMAKE_INSTALL_DATADIR}/doc/zeitwache)
set(zeitwache_compressed_docs)
function(zeitwache_gzip source name)
  # -9n: the smallest file, and no name or time stamp in it, so a rebuild gives the
  # same bytes.
  add_custom_command(
    OUTPUT ${zeitwache_doc_dir}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${zeitwache_doc_dir}/${name}
    COMMAND ${ZEITWACHE_GZIP} -9nf ${zeitwache_doc_dir}/${name}
    DEPENDS ${source}
    COMMENT "Compressing ${name}" VERBATIM)
  set(zeitwache_compressed_docs ${zeitwache_compressed_docs} ${zeitwache_doc_dir}/${name}.gz PARENT_SCOPE)
endfunction()
zeitwache_gzip(${PROJECT_SOURCE_DIR}/desktop/debian-changelog changelog)
zeitwache_gzip(${PROJECT_SOURCE_DIR}/desktop/zeitwache.1 zeitwache.1)
add_custom_target(zeitwache_docs ALL DEPENDS ${zeitwache_compressed_docs})
# The README builds only the program before installing: the documents come with it.
add_dependencies(zeitwache zeitwache_docs)
install(FILES ${PROJECT_SOURCE_DIR}/desktop/debian-copyright DESTINATION ${zeitwache_doc_install_dir} RENAME copyright)
install(FILES ${zeitwache_doc_dir}/changelog.gz DESTINATION ${zeitwache_doc_install_dir})
install(FILES ${zeitwache_doc_dir}/zeitwache.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME zeitwache)
set(CPACK_PACKAGE_VENDOR "Die Zeitwache-Entwickler")
set(CPACK_PACKAGE_CONTACT "Die Zeitwache-Entwickler <zeitwache@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Uhr im Infobereich, die an Termine erinnert")
# Debian's rule: no line of the long description over 80 columns.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Zeitwache lebt im Infobereich, zeigt eine Digitaluhr in sechs Anzeigearten\n"
    "und führt einmal in der Minute die fälligen Termine aus: ein\n"
    "Erinnerungsfenster mit Nachricht und Klang, ein Programm oder Dokument,\n"
    "Snooze. Der Terminmanager gibt Termine ein, listet, sucht und löscht sie.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY zeitwache)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# German texts of Qt's own dialogs (the file dialog, the edit menu of text fields), and
# xdg-open, through which an appointment opens its document. Without either the program
# still runs, hence recommended rather than required.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_GENERATOR DEB)
include(CPack)
