# The Debian package (`make package`): the install rules above under /usr, depending on the
# Debian runtime packages. The list is written out rather than worked out at packing time, so
# packing needs no dpkg-dev and gives the same package wherever it is built. Its lower bounds
# are what the program's symbols require of Debian 12's libraries; the X11 platform plugin and
# the JPEG and ICO readers ship in libqt6gui6; the Liberation fonts keep the labels' sizes.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME grathmoor)
set(CPACK_PACKAGE_VENDOR "Grathmoor Simulator developers")
set(CPACK_PACKAGE_CONTACT "${GRATHMOOR_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "simulator of the Grathmoor handheld LCD dungeon game")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "A desktop simulator of the Grathmoor handheld LCD dungeon game. It shows a\n"
       "picture of the handheld and lights its LCD segments as the handheld would: a\n"
       "warrior walking a hidden 10 x 10 wrap-around dungeon of pits, bats, a dragon,\n"
       "an arrow and a hook, with the handheld's animations, timings and beeps.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# One package of the game with the launcher in /usr/games, where Debian's policy puts games.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL game debian_launcher)
set(CPACK_STRIP_FILES TRUE)
# The manual's 1x bitmaps pack far smaller with xz than with gzip.
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.34), libgcc-s1 (>= 3.0), libstdc++6 (>= 11), libqt6core6 (>= 6.4.0), \
libqt6gui6 (>= 6.4.0), libqt6widgets6 (>= 6.4.0), libsdl2-2.0-0 (>= 2.24.0), \
libsdl2-mixer-2.0-0 (>= 2.6.0), libinih1 (>= 40), libxcb1 (>= 1.14), libxcb-xkb1 (>= 1.14), \
libxkbcommon0 (>= 1.0.0), libxcb-shape0 (>= 1.15), libfontconfig1 (>= 2.13), fonts-liberation2")
# The pop-up menu opens the documents and the maker's links through xdg-open; on a Wayland
# desktop the game runs as a Wayland client, which needs Qt's wayland plug-in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

# A source package, should anyone ask for one, is the sources without build folders.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")

include(CPack)
