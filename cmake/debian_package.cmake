# The Debian package of the program, its tools and the bundled sample: `cpack -G DEB` in a build
# folder writes vorl_<version>_<arch>.deb there, installing below /usr.
set(VORL_PACKAGE_MAINTAINER "VORL maintainers <maintainers@example.org>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorl)
set(CPACK_PACKAGE_VENDOR "VORL maintainers")
set(CPACK_PACKAGE_CONTACT "${VORL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reference database of stratigraphic units")
set(CPACK_PACKAGE_DESCRIPTION "A desktop lexicon of stratigraphic units: browse the unit hierarchy \
country by country, find a unit by name, read and edit everything the lexicon keeps, see the accepted \
isotope dating results of a unit and print reports. With command-line tools that create and fill its \
databases, generate synthetic lexicons and write reports to PDF files, and a bundled sample lexicon.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VORL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries come from dpkg-shlibdeps; the windows' font is loaded by name, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
include(CPack)
