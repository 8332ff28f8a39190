# `make package`: a Debian package installing under /usr. The shared
# libraries' packages come from dpkg-shlibdeps; the rest of what Pelora needs
# at run time is named here: Qt's platform plugins, a General MIDI SoundFont
# and the Japanese fonts of the About window.
include(${CMAKE_CURRENT_LIST_DIR}/Identity.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${PELORA_MAKER}")
set(CPACK_PACKAGE_CONTACT "${PELORA_MAKER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PELORA_SUMMARY}")
set(CPACK_PACKAGE_DESCRIPTION
    [[Pelora plays standard MIDI files (.mid, .rmi) through FluidSynth with a
General MIDI SoundFont. Two small black windows stand side by side: the
player, whose mascot dances while the music plays, and a sorted playlist that
can be saved to list files. The interface is in Japanese.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PELORA_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, timgm6mb-soundfont | fluid-soundfont-gm | sf2-soundfont-gm, fonts-ipafont-gothic, fonts-ipafont-mincho")

# cpack installs what is built; building is the build's job, so neither
# cpack nor its test starts a build of every target on its own.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

include(CPack)
