# End-to-end tests: the built pelora on its own virtual X screen, driven with
# xdotool like a person would, its sound recorded from a private PulseAudio
# null sink. They run after the unit tests.
set(E2E_DIR ${CMAKE_SOURCE_DIR}/tests/e2e)

add_executable(e2e_make_midi ${E2E_DIR}/make-midi.cpp
                             ${CMAKE_SOURCE_DIR}/tests/support/MidiFileBuilder.cpp)
target_include_directories(e2e_make_midi PRIVATE ${CMAKE_SOURCE_DIR}/tests)

pkg_check_modules(E2E_X11 REQUIRED IMPORTED_TARGET x11)
add_executable(e2e_close_window ${E2E_DIR}/close-window.cpp)
add_executable(e2e_xdnd_drag ${E2E_DIR}/xdnd-drag.cpp)
target_link_libraries(e2e_close_window PRIVATE PkgConfig::E2E_X11)
target_link_libraries(e2e_xdnd_drag PRIVATE PkgConfig::E2E_X11)
set_target_properties(e2e_make_midi e2e_close_window e2e_xdnd_drag PROPERTIES
                      AUTOMOC OFF AUTORCC OFF)

set(E2E_UNIT_TESTS)
foreach(area core midifile system sound texts player playlist about outside app)
    if(TEST ${area})
        list(APPEND E2E_UNIT_TESTS ${area})
    endif()
endforeach()

# Each test has its own display number (the next free one from there) and
# its own PulseAudio daemon, so they may run side by side.
set(E2E_TESTS windows:141 list:151 about:161 sound:131 stuck-server:171 command-line:181
              instance:191 drop:201 wayland:211 gio-open:221 outside:231
              media:241 dialogs:251 now-playing:261)
foreach(entry ${E2E_TESTS})
    string(REPLACE ":" ";" parts ${entry})
    list(GET parts 0 name)
    list(GET parts 1 display)
    # A failing test leaves its picture of the screen in the working folder.
    add_test(NAME e2e_${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
             COMMAND bash ${E2E_DIR}/${name}.sh $<TARGET_FILE:pelora>
                     $<TARGET_FILE:e2e_make_midi> $<TARGET_FILE:e2e_close_window> ${display})
    set_tests_properties(e2e_${name} PROPERTIES
        LABELS e2e TIMEOUT 90 SKIP_RETURN_CODE 77 DEPENDS "${E2E_UNIT_TESTS}")
endforeach()

# It installs the build tree, which writes install_manifest.txt into it.
set_tests_properties(e2e_gio-open PROPERTIES RESOURCE_LOCK pelora_build_tree_install)
