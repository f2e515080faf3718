# The Debian package: cpack -G DEB in a build tree (scripts/package.sh makes
# one from a clean checkout). The programs and data are installed by the
# subdirectories; this adds what Debian asks of every package (copyright,
# changelog) and the package's own description.

set(PITWALL_MAINTAINER "The Pitwall developers <pitwall-editor@users.noreply.github.com>")

# /usr/share/doc/pitwall: the copyright file in Debian's machine-readable
# format and the compressed changelog.
execute_process(COMMAND date -R -u -d "${PITWALL_RELEASE_DATE} 12:00:00"
                OUTPUT_VARIABLE PITWALL_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE PITWALL_DATE_RESULT)
if(NOT PITWALL_DATE_RESULT EQUAL 0)
    set(PITWALL_CHANGELOG_DATE "${PITWALL_RELEASE_DATE}")
endif()
set(PITWALL_DOC_DIR ${CMAKE_BINARY_DIR}/packaging)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/copyright.in ${PITWALL_DOC_DIR}/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${PITWALL_DOC_DIR}/changelog @ONLY)
pitwall_gzip(pitwall-changelog ${PITWALL_DOC_DIR}/changelog ${PITWALL_DOC_DIR}/changelog.gz)
install(FILES ${PITWALL_DOC_DIR}/copyright ${PITWALL_DOC_DIR}/changelog.gz DESTINATION share/doc/pitwall)

set(CPACK_PACKAGE_NAME pitwall)
set(CPACK_PACKAGE_VENDOR "The Pitwall developers")
set(CPACK_PACKAGE_CONTACT "${PITWALL_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Grand Prix 3 installations and carsets")
set(CPACK_PACKAGE_HOMEPAGE_URL "${PITWALL_HOMEPAGE}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # pitwall_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION utils) # "games" is for packages that hold a game
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PITWALL_MAINTAINER}")
# Depends computed from the programs and the sound module by dpkg-shlibdeps;
# Qt's platform plugins are loaded at run time, so no library names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6svg6")
# The synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY; CPack indents these lines
# and turns the empty one into the paragraph break " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Pitwall edits installations of the 1998 racing game Grand Prix 3: team,
driver and engine names, performance values, liveries, helmets, tracks,
texts, cockpits, sounds and settings. It saves and applies carsets (.GMS),
the packages in which modders share such changes.

Every game file is replaced only when its new content is complete, and a
restore point is made before the first byte changes. The package holds the
desktop editor pitwall and the command-line tool pitwall-cli.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
