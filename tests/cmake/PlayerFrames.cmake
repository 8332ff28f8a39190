# The player tests run from the build tree like the program: the mascot
# frames lie beside the test programs as they lie beside pelora.
foreach(frame ${PELORA_FRAMES})
    get_filename_component(name ${frame} NAME)
    configure_file(${frame} ${CMAKE_CURRENT_BINARY_DIR}/${name} COPYONLY)
endforeach()
