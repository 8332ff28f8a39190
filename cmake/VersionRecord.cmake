# The Windows executable's version record and file icon. The resource script
# is generated on every platform so that its test can compile it with windres;
# only a Windows build links it into the program.
include(${CMAKE_CURRENT_LIST_DIR}/Identity.cmake)

# Turns a string of hex digits into the 16-bit little-endian words of a raw
# resource block, eight to a line.
function(pelora_hex_to_rc_words hex out)
    string(LENGTH "${hex}" digits)
    math(EXPR odd "${digits} % 4")
    if(NOT odd EQUAL 0)
        message(FATAL_ERROR "raw resource data must be a whole number of 16-bit words")
    endif()
    string(REGEX REPLACE "(..)(..)" "0x\\2\\1, " words "${hex}")
    set(word "0x...., ")
    string(REGEX REPLACE "(${word}${word}${word}${word}${word}${word}${word}${word})" "\\1\n    "
                         words "${words}")
    string(REPLACE ", \n" ",\n" words "${words}")
    string(REGEX REPLACE "[, \n]+$" "" words "${words}")
    set(${out} "${words}" PARENT_SCOPE)
endfunction()

# A plain ICON statement would number the image itself; the icon keeps image
# id 30001 in group 1, so image and group directory are written as raw
# RT_ICON and RT_GROUP_ICON resources taken from the .ico file.
function(pelora_icon_resources ico image_out group_out)
    file(READ ${ico} hex HEX)
    string(SUBSTRING "${hex}" 0 12 header)
    if(NOT header STREQUAL "000001000100")
        message(FATAL_ERROR "${ico}: expected an icon file holding exactly one image")
    endif()
    # ICONDIRENTRY: width, height, colours, reserved, planes, bit count and
    # size (12 bytes, the same as in a group entry), then the image's offset.
    string(SUBSTRING "${hex}" 12 24 entry)
    string(SUBSTRING "${hex}" 36 8 offset_le)
    string(SUBSTRING "${hex}" 28 8 size_le)
    string(REGEX REPLACE "(..)(..)(..)(..)" "0x\\4\\3\\2\\1" offset "${offset_le}")
    string(REGEX REPLACE "(..)(..)(..)(..)" "0x\\4\\3\\2\\1" size "${size_le}")
    math(EXPR first "${offset} * 2")
    math(EXPR count "${size} * 2")
    string(LENGTH "${hex}" digits)
    math(EXPR end "${first} + ${count}")
    if(end GREATER digits)
        message(FATAL_ERROR "${ico}: the image runs past the end of the file")
    endif()
    string(SUBSTRING "${hex}" ${first} ${count} image)
    pelora_hex_to_rc_words("${image}" image_words)
    # GRPICONDIR with one entry that names image 30001 (0x7531).
    pelora_hex_to_rc_words("000001000100${entry}3175" group_words)
    set(${image_out} "${image_words}" PARENT_SCOPE)
    set(${group_out} "${group_words}" PARENT_SCOPE)
endfunction()

set(PELORA_ICON_FILE ${CMAKE_SOURCE_DIR}/assets/icon/pelora.ico)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PELORA_ICON_FILE})
pelora_icon_resources(${PELORA_ICON_FILE} PELORA_ICON_IMAGE_WORDS PELORA_ICON_GROUP_WORDS)
set(PELORA_VERSION_WORDS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0")
configure_file(${CMAKE_SOURCE_DIR}/packaging/pelora.rc.in ${PELORA_RESOURCE_SCRIPT} @ONLY)

if(WIN32)
    enable_language(RC)
    target_sources(pelora PRIVATE ${PELORA_RESOURCE_SCRIPT})
    set_target_properties(pelora PROPERTIES WIN32_EXECUTABLE TRUE OUTPUT_NAME Pelora)
endif()
