# The audio libraries behind FluidSynth's drivers, linked directly so that
# their own messages stay off the terminal and SDL's audio can be started
# for FluidSynth's SDL2 driver.
pkg_check_modules(PELORA_AUDIO_BACKENDS REQUIRED IMPORTED_TARGET alsa jack sdl2)
target_link_libraries(pelora_synthesizer_code PRIVATE PkgConfig::PELORA_AUDIO_BACKENDS)
