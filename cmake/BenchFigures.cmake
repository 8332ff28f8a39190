# What the benchmark's figures need beyond the program's library: the real
# program, a hook preloaded into it, two bare Qt windows to measure it
# against, and the MIDI file builder for the playback figures.
add_library(pelora_shown_hook MODULE EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/startup/ShownHook.cpp)
target_link_libraries(pelora_shown_hook PRIVATE Qt6::Widgets)
set_target_properties(pelora_shown_hook PROPERTIES AUTOMOC OFF)

add_executable(pelora_bare_windows EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/bare/BareWindows.cpp)
target_link_libraries(pelora_bare_windows PRIVATE Qt6::Widgets)
set_target_properties(pelora_bare_windows PROPERTIES AUTOMOC OFF)

target_sources(pelora_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/MidiFileBuilder.cpp)
target_include_directories(pelora_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(pelora_bench PRIVATE
    PELORA_PROGRAM="$<TARGET_FILE:pelora>"
    PELORA_SHOWN_HOOK="$<TARGET_FILE:pelora_shown_hook>"
    PELORA_BARE_WINDOWS="$<TARGET_FILE:pelora_bare_windows>")
add_dependencies(pelora_bench pelora pelora_shown_hook pelora_bare_windows)
