# `make package`: a Debian package installing under /usr, made from this
# build tree. The shared libraries' packages come from dpkg-shlibdeps; the
# rest of what Pelora needs at run time is named here: Qt's platform plugins,
# a General MIDI SoundFont and a Japanese gothic font for every caption (the
# mincho face of the About window's last line is only recommended: gothic
# stands in for it).
include(${CMAKE_CURRENT_LIST_DIR}/Identity.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${PELORA_MAKER}")
set(CPACK_PACKAGE_CONTACT "${PELORA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PELORA_MAINTAINER}")
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
    "qt6-qpa-plugins, qt6-translations-l10n, timgm6mb-soundfont | fluid-soundfont-gm | sf2-soundfont-gm, fonts-ipafont-gothic | fonts-japanese-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-mincho | fonts-japanese-mincho")

# cpack installs what is built; building is the build's job, so neither
# cpack nor its test starts a build of every target on its own.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# The package's program is the one built here, so every optimised build
# takes Debian's hardening flags (all of them, bindnow included): stack
# protection, fortified functions, read-only relocations. The build type
# keeps its own optimisation and debug information, and the debug
# information its real source paths; the sanitizer build and a Debug build
# (where fortifying would only warn) go without.
find_program(PELORA_DPKG_BUILDFLAGS dpkg-buildflags)
if(PELORA_DPKG_BUILDFLAGS AND NOT PELORA_SANITIZE AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
    function(pelora_debian_flags kind out)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                    ${PELORA_DPKG_BUILDFLAGS} --get ${kind}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        list(FILTER flags EXCLUDE REGEX "^-(O.*|g|ffile-prefix-map=.*)$")
        set(${out} ${flags} PARENT_SCOPE)
    endfunction()
    pelora_debian_flags(CPPFLAGS PELORA_DEBIAN_CPPFLAGS)
    pelora_debian_flags(CXXFLAGS PELORA_DEBIAN_CXXFLAGS)
    pelora_debian_flags(LDFLAGS PELORA_DEBIAN_LDFLAGS)
    get_property(PELORA_TARGETS DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${PELORA_TARGETS})
        get_target_property(type ${target} TYPE)
        if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|OBJECT_LIBRARY|MODULE_LIBRARY)$")
            target_compile_options(${target} PRIVATE ${PELORA_DEBIAN_CPPFLAGS}
                                                     ${PELORA_DEBIAN_CXXFLAGS})
        endif()
        if(type MATCHES "^(EXECUTABLE|MODULE_LIBRARY)$")
            target_link_options(${target} PRIVATE ${PELORA_DEBIAN_LDFLAGS})
        endif()
    endforeach()
endif()

include(CPack)
