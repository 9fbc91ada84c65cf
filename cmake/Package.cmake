# The Debian package of the suite, made by scripts/package (cpack -G DEB) from what
# `cmake --install` puts in place: the programs, k3x, the ormel2 command, menu entries, icons,
# MIME types, manual pages, the copyright file and changelog, and the demo game. The suite is
# free software under the GPL, version 3 or later (LICENSE).
set(CPACK_PACKAGE_NAME ormel2)
set(CPACK_PACKAGE_VENDOR "The Ormel 2 team")
set(CPACK_PACKAGE_CONTACT "The Ormel 2 team <team@ormel2.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop tools to make your own 3D game")
set(CPACK_PACKAGE_DESCRIPTION "Ormel 2 is a suite of desktop tools with which hobbyists make 3D games:
a launcher that starts the tools on a game project and deploys the finished
game, a texture bank editor (Pigmenta), a 3D object skinning editor
(Tessaro3D), a game parameters editor (Partiva) and a command-line companion
(k3x). The ormel2 command starts them in your game project folder, made from
the demo game on the first start.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY ormel2)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.ormel2.example")
# Shared libraries are found by dpkg-shlibdeps; Qt's platform plugins (the window system) and
# image format plugins (WebP, TGA ... for the picture import) are loaded at run time, so no
# library names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# The files of the package's control part with the permissions the distribution's tools give.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-image-formats-plugins")
# Help pages open in the desktop's browser through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
