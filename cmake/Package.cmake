# The Debian package, built from a configured and built tree with
#   cpack -G DEB            (scripts/package-deb.sh does all of it)
# giving brackwell-gifmaker_<version>_<arch>.deb, its dependencies computed
# from the programs by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brackwell-gifmaker)
set(CPACK_PACKAGE_VENDOR Brackwell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Brackwell <gifmaker@brackwell.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "maker of animated GIF files from still pictures")
set(CPACK_PACKAGE_DESCRIPTION
    "Brackwell GIF Maker turns pictures into an animated GIF. Add PNG, JPEG,
BMP and GIF files to a strip of frames (a GIF brings in every one of its
frames), arrange them, set the delay and the output size, watch the
animation play in the window and save it as a GIF that repeats for ever.
Frames with few colours keep them exactly; photographs get a palette of
their own. The work can be kept as a project file and opened again.

The package also holds gifmaker-cli, which makes the same GIF from the
command line without a window. The interface speaks Simplified and
Traditional Chinese, German, English, French, Italian and Japanese.")
# Installed as by `cmake --install --prefix /usr`, with DESTDIR, so that the
# links and the desktop entry see the final prefix.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://brackwell.example/gifmaker")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Help, Support and the download page open in the desktop's browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Only the files of the install rules, whatever else the tree builds.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
