# The Debian package: `cpack -G DEB` in the build folder makes one .deb of
# everything the install rules (data/CMakeLists.txt) put under /usr, with
# its dependencies computed from the programs by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Korvane developers")
set(CPACK_PACKAGE_CONTACT "Korvane developers <korvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer and structure browser for MDS/MDC player models")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Korvane shows a classic shooter's skeletal player models (MDS bodies with\n"
    "MDC heads and accessories) with their skins and animation. Tessaly shows an\n"
    "MDS file's structure as a tree. mdstree prints that tree as text,\n"
    "korvane-render draws the model into PNG files without a display and\n"
    "korvane-check says what is wrong with a player model. mkplayer writes a\n"
    "demo player to try them on. File managers show MDS files with a picture\n"
    "of the body.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The headless renderer loads Mesa's drivers at run time: no library
# dependency shows them to dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libegl-mesa0, libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info")
set(CPACK_STRIP_FILES ON)
include(CPack)
