# `cpack -G DEB` in a build directory makes a Debian package of what `cmake --install`
# installs. The library dependencies are read off the program by dpkg-shlibdeps
# (package dpkg-dev); the Qt platform plugin for X11 comes with libqt6gui6.
set(CPACK_PACKAGE_NAME zeitwache)
set(CPACK_PACKAGE_VENDOR "Die Zeitwache-Entwickler")
set(CPACK_PACKAGE_CONTACT "Die Zeitwache-Entwickler <zeitwache@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Uhr im Infobereich, die an Termine erinnert")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Zeitwache lebt im Infobereich, zeigt eine Digitaluhr in sechs Anzeigearten und führt\n"
    "einmal in der Minute die fälligen Termine aus: Erinnerungsfenster mit Nachricht und\n"
    "Klang, ein Programm oder Dokument, Snooze. Der Terminmanager gibt Termine ein, listet,\n"
    "sucht und löscht sie.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY zeitwache)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# German texts of Qt's own dialogs (the file dialog, the edit menu of text fields).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_GENERATOR DEB)
include(CPack)
