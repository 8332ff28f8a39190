// Writes a MIDI file for the end-to-end tests: a few voices of quick notes
// that keep sounding for the whole length, so that silence in a recording
// can only come from the player stopping.
// Usage: e2e_make_midi OUT [SECONDS]

#include "support/MidiFileBuilder.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fputs("usage: e2e_make_midi OUT [SECONDS]\n", stderr);
        return 2;
    }
    try {
        const double seconds = argc == 3 ? std::stod(argv[2]) : 60.0;
        MidiFileBuilder::write(argv[1], MidiFileBuilder::dense(4, seconds));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "e2e_make_midi: %s: %s\n", argv[1], error.what());
        return 1;
    }
    return 0;
}
