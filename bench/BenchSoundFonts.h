#pragma once

// The General MIDI SoundFonts the figures are measured with, where installed:
// the small one of `make test`, and the large one `make bench` installs.
struct BenchSoundFont {
    const char* name;
    const char* path;
};

inline constexpr BenchSoundFont benchSoundFonts[] = {
    {"TimGM6mb", "/usr/share/sounds/sf2/TimGM6mb.sf2"},
    {"FluidR3_GM", "/usr/share/sounds/sf2/FluidR3_GM.sf2"},
};
