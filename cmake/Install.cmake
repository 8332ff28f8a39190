# Desktop integration: the menu entry, the AppStream metainfo and the icons;
# the manual page, and the copyright and changelog that every Debian package
# carries. The program and its frame pictures are installed by the top
# CMakeLists.txt.
include(${CMAKE_CURRENT_LIST_DIR}/Identity.cmake)

if(UNIX AND NOT APPLE)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/${PELORA_APP_ID}.metainfo.xml.in
                   ${CMAKE_BINARY_DIR}/generated/${PELORA_APP_ID}.metainfo.xml @ONLY)

    install(FILES ${CMAKE_SOURCE_DIR}/packaging/${PELORA_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_BINARY_DIR}/generated/${PELORA_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/${PELORA_APP_ID}.mime.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${PELORA_APP_ID}.xml)

    set(PELORA_DESKTOP_ICONS ${CMAKE_SOURCE_DIR}/assets/icon/desktop)
    set(PELORA_ICON_THEME ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    foreach(size 16 32 48 64 128 256)
        install(FILES ${PELORA_DESKTOP_ICONS}/pelora-${size}.png
                DESTINATION ${PELORA_ICON_THEME}/${size}x${size}/apps RENAME ${PELORA_APP_ID}.png)
    endforeach()
    install(FILES ${PELORA_DESKTOP_ICONS}/pelora.svg
            DESTINATION ${PELORA_ICON_THEME}/scalable/apps RENAME ${PELORA_APP_ID}.svg)

    # Debian wants these compressed with gzip -9n: no name and no time in
    # the header, so that the same text always gives the same bytes.
    find_program(PELORA_GZIP gzip REQUIRED)
    set(PELORA_GZIPPED_DIR ${CMAKE_BINARY_DIR}/generated/gzipped)
    set(PELORA_GZIPPED)
    foreach(name pelora.1 pelora.ja.1 changelog)
        set(gzipped ${PELORA_GZIPPED_DIR}/${name}.gz)
        add_custom_command(
            OUTPUT ${gzipped}
            COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/${name} ${PELORA_GZIPPED_DIR}/${name}
            COMMAND ${PELORA_GZIP} -9nf ${PELORA_GZIPPED_DIR}/${name}
            DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${name}
            VERBATIM)
        list(APPEND PELORA_GZIPPED ${gzipped})
    endforeach()
    add_custom_target(pelora_gzipped_docs ALL DEPENDS ${PELORA_GZIPPED})

    install(FILES ${PELORA_GZIPPED_DIR}/pelora.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${PELORA_GZIPPED_DIR}/pelora.ja.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1
            RENAME pelora.1.gz)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${PELORA_GZIPPED_DIR}/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelora)
endif()
