# Desktop integration: the menu entry, the AppStream metainfo and the icon.
# The program and its frame pictures are installed by the top CMakeLists.txt.
include(${CMAKE_CURRENT_LIST_DIR}/Identity.cmake)

if(UNIX AND NOT APPLE)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/${PELORA_APP_ID}.metainfo.xml.in
                   ${CMAKE_BINARY_DIR}/generated/${PELORA_APP_ID}.metainfo.xml @ONLY)

    install(FILES ${CMAKE_SOURCE_DIR}/packaging/${PELORA_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_BINARY_DIR}/generated/${PELORA_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${CMAKE_SOURCE_DIR}/assets/icon/pelora.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
            RENAME ${PELORA_APP_ID}.png)
endif()
