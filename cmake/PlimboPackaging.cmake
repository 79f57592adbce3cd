# `cpack -G DEB` in the build folder makes plimbo_<version>_<arch>.deb from the install rules.
# Its dependencies come from the shared libraries the program links (the X11 platform plug-in
# comes with libqt6gui6); what only some features use is recommended or suggested.
set(CPACK_PACKAGE_NAME plimbo)
set(CPACK_PACKAGE_VENDOR Plimbo)
set(CPACK_PACKAGE_CONTACT "Plimbo developers <plimbo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Tray utility: AI assistant, launcher, clipboard history and command palette")
set(CPACK_PACKAGE_DESCRIPTION
    "Plimbo gathers small desktop tools behind one tray icon and three global shortcuts: an AI assistant over OpenRouter, an application launcher, a clipboard history, a command palette, keep-awake and a system monitor.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# secret-tool stores the OpenRouter key; GStreamer's good plug-ins open the camera; the image
# formats plug-ins read more attachment types; a Secret Service provider keeps the key.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "libsecret-tools, gstreamer1.0-plugins-good, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gnome-keyring")
include(CPack)
