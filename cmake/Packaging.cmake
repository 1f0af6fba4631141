# A Debian package of the two programs, the menu entry and the icon:
#   cmake --build --preset release && cpack --preset deb
# The libraries it needs are found by dpkg-shlibdeps from the linked programs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME newyear-card)
set(CPACK_PACKAGE_VENDOR "The newyear-card developers")
set(CPACK_PACKAGE_CONTACT "The newyear-card developers <cards@newyear-card.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Type a name and get a New-Year greeting card painted as generative art.\n The same name always gives the same picture. Includes the card window and\n newyear-card-render, which makes cards without a window for scripts and batches.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
