# What `cmake --install` puts beside bin/quillet, and the Debian package built
# from the same rules with `cpack -G DEB`.
include(GNUInstallDirs)

install(FILES doc/quillet.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/quillet.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions
        RENAME quillet)
install(FILES README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY examples/c_project
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VENDOR "Quillet developers")
set(CPACK_PACKAGE_CONTACT "Quillet developers <quillet@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stamps source files with a project header")
# Debian wants the long description in lines of less than 80 characters.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Quillet rewrites source files in place from one project description\n"
  "file: a line holding $ADD_HEADER$ becomes the header template, a line\n"
  "holding $EXTERN_FILE$ becomes the lines of another file, and flags such\n"
  "as $PROJECT_NAME$ or $DATE$ are replaced in every line. It works on one\n"
  "file, or on every source file of the project's language below a\n"
  "directory.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quillet developers <quillet@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends comes from the libraries the binary links (dpkg-shlibdeps, dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
