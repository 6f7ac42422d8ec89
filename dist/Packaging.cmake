# The Debian package: cpack -G DEB in the build folder (scripts/package does it) writes
# velitra_VERSION_ARCH.deb holding what cmake --install puts under /usr, the binaries stripped.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velitra)
set(CPACK_PACKAGE_VENDOR "Kestrow Group.")
set(CPACK_PACKAGE_CONTACT "Velitra developers <velitra@kestrowgroup.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "subtitle editor: two subtitle files side by side")
# Below the summary line; CPack indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Velitra shows two subtitle files side by side, the film playing above them
with both captions in step, and brings the tools to re-time, merge, import,
repair and convert subtitles: SubRip, MicroDVD and SubViewer files in UTF-8,
UTF-16 or a legacy code page such as Big5 or GBK. velitra-convert converts
on the command line. The interface is in Traditional Chinese, Simplified
Chinese and English.")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# The libraries from the binaries (dpkg-shlibdeps); besides them, what the program opens by name
# at run time: a CJK font for the Chinese interface and captions, and Qt's own translations for
# its dialogs and buttons in the language chosen.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk, qt6-translations-l10n")
include(CPack)
