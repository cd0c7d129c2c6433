# The Debian package of varn, built from an existing build directory:
#
#   cpack --config BUILD/CPackConfig.cmake -G DEB     (BUILD/package/varn_*.deb)
#
# It holds the component "varn" (the programs, the manual page, the
# completion scripts) installed under /usr, with the files Debian asks of
# every package from the component "debian": the copyright, the changelog
# and, for the static link, lintian's override. The framework's library
# stays out: the package is the tool. scripts/check-package builds it and
# checks it with lintian and in a scratch root.

# Directories an installation creates are readable by everyone, whatever
# the umask of whoever runs it.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The files of the package alone: left out of a plain `cmake --install`.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/varn)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/package/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/package
  COMMAND ${GZIP_PROGRAM} -9 -n -c ${PROJECT_SOURCE_DIR}/CHANGELOG > ${PROJECT_BINARY_DIR}/package/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG
  COMMENT "Compressing the changelog for the package")
add_custom_target(varn-package-changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/package/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/package/copyright ${PROJECT_BINARY_DIR}/package/changelog.gz
  DESTINATION ${docdir} COMPONENT debian EXCLUDE_FROM_ALL)
if(VARN_STATIC_LINK)
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/package/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
    RENAME varn COMPONENT debian EXCLUDE_FROM_ALL)
endif()

set(CPACK_PACKAGE_NAME varn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_INSTALL_CMAKE_PROJECTS ${PROJECT_BINARY_DIR} varn varn / ${PROJECT_BINARY_DIR} varn debian /)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_VARN_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/package/RemoveUnneededSections.cmake)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "command-line companion of Varnel, a desktop git application")
# Lines of the description as dpkg shows them, at most 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "varn hands work from the terminal and from git to Varnel: it opens a"
  "repository, compares two revisions, and serves as git's merge tool and diff"
  "tool. As the merge tool it waits for Varnel's verdict and exits with it, so"
  "that git marks a file resolved only when it is."
  ""
  "The package includes the manual page, completion scripts for bash, zsh and"
  "fish, and varnel-open, the launcher that starts the application Varnel"
  "registered or the one VARNEL_HOME names.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VARN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION vcs)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS git)
# `varn [PATH]` hands the repository to the desktop's opener.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xdg-utils)
# Linked statically, the programs need no library at run time; linked
# dynamically, dpkg-shlibdeps names the packages of the libraries they load.
if(NOT VARN_STATIC_LINK)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
