# The Debian package, made by `cpack` from the same install rules as
# `cmake --install`: korvane_<version>_<arch>.deb in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR Tessaly)
set(CPACK_PACKAGE_CONTACT "Tessaly <support@tessaly.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keeper of software registration codes")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvane keeps your software registration data: for every program you own it
stores the product name, who it is registered to, the customer or product id,
the registration code, the vendor's web contact, the registration date, and
when you last recorded it. Records live in four databases (work applications,
games, tools and everything else); every change is on disk at once, and all
four databases travel to another computer in one export file.

The data files are readable by their owner only; they are obfuscated, not
encrypted.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tessaly.example/Korvane/")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link come from dpkg-shlibdeps. Qt loads its SVG
# plug-ins at run time, which no linker sees, and xdg-open opens the help
# page and web contacts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, xdg-utils")
# Without Qt's Wayland plug-in the window still opens on a Wayland desktop,
# through XWayland, at the cost of blurred scaling and the desktop's own
# clipboard and activation; the help page needs a browser to show it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, www-browser | x-www-browser")

include(CPack)
