#pragma once

#include <fluidsynth.h>

#include <string>

class SoundFontSubset;

// FluidSynth's own SoundFont loader, reading through files of this one: the
// name fileNameOf() gives a subset reads that subset, any other name the
// file of that name. FluidSynth opens a SoundFont again each time it loads
// samples of one of its presets.
class SoundFontSubsetLoader {
public:
    // For fluid_synth_add_sfloader(), which then owns it.
    static fluid_sfloader_t* make(fluid_settings_t* settings);
    // What FluidSynth is to load for `subset`, which must live as long as
    // FluidSynth holds the SoundFont. Never an absolute path: those name files.
    static std::string fileNameOf(const SoundFontSubset& subset);

private:
    static void* open(const char* fileName);
    static int read(void* into, fluid_long_long_t count, void* handle);
    static int seek(void* handle, fluid_long_long_t offset, int origin);
    static fluid_long_long_t tell(void* handle);
    static int close(void* handle);
};
