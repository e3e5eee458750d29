# `cmake --build build --target package` makes corkpane_<version>_amd64.deb.
# Its library dependencies are computed from the binaries (dpkg-shlibdeps);
# Qt's platform and image-format plugins (WebP, TIFF, SVG pictures) are loaded
# at run time, so they are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corkpane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Corkpane developers")
set(CPACK_PACKAGE_CONTACT "The Corkpane developers <corkpane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "memo and schedule drawn into the desktop wallpaper")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Corkpane keeps a short memo and a schedule of recurring and dated entries
and draws both into the desktop wallpaper, on top of the user's own
picture. Memo text is typed in its window or received by e-mail over POP3.
Dates are written in a small Japanese date language.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://corkpane.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-image-formats-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "feh")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Only what is installed for users: no test or benchmark targets.
set(CPACK_SOURCE_IGNORE_FILES "/build.*/;/\\\\.git/")
include(CPack)
