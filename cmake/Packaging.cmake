# A Debian package of the two programs with their menu entry, icons, software-centre data, manual
# pages, copyright and changelog (installed by data/CMakeLists.txt):
#   cmake --build --preset release && cpack --preset deb
# The libraries it needs are found by dpkg-shlibdeps from the linked programs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME newyear-card)
set(CPACK_PACKAGE_VENDOR "The New-Year Card authors")
set(CPACK_PACKAGE_CONTACT "${CARD_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CARD_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${CARD_HOMEPAGE}")
# Debian's synopsis: no leading article, no full stop; the lines after it are wrapped by CPack.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "New-Year greeting cards painted as generative art from names")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Type a name and get a New-Year greeting card painted as generative art: a
palette and a handful of shape formulas drawn from the name, some 740,000
coloured strokes and a greeting line with the name. The same name always
gives the same picture, on every computer.
.
The package holds the card window, newyear-card, and newyear-card-render,
which makes the same cards without a window, for scripts and batches.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# Debian's own strip also drops the compiler's notes, which nothing at run time reads.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/StripForPackage.cmake)
set(CPACK_CARD_STRIP "${CMAKE_STRIP}")
include(CPack)
