# The Debian package: `cpack -G DEB` in the build folder writes corvan_<version>_<arch>.deb.
# Its library dependencies come from dpkg-shlibdeps; what the programs load or start at run
# time is declared by hand: Qt's platform plug-ins (the windows), the fonts the screens are
# drawn with, xdg-open for help pages and the news page.
set(CPACK_PACKAGE_NAME corvan)
set(CPACK_PACKAGE_VENDOR "Corvan")
set(CPACK_PACKAGE_CONTACT "Corvan developers <dev@corvan.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Workshop vehicle-diagnosis terminal with a simulated interface box")
set(CPACK_PACKAGE_DESCRIPTION
    "Picture menus from brand to model, system and variant; the diagnostic engine and its function\n"
    "plug-ins; the box start-up and the framed serial exchange with the Varbox interface box on a\n"
    "USB serial adapter or a Bluetooth serial link; a simulator of the box and the ECUs behind it;\n"
    "a sample installation that runs against the simulator.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The module runtime is the package's own library, found through the programs' RUNPATH.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/runtime)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bluez")
set(CPACK_STRIP_FILES ON)
include(CPack)
