#pragma once

#include "midifile/SongPresets.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

// A SoundFont of only some of another's presets, as FluidSynth reads it:
// the other file with its preset tables (the `pdta` list) cut down to those
// presets and their instruments, and to the zones of them that the notes
// played with each can sound. Everything else, the samples first of all,
// is the other file's, read from it where it lies; the sample headers are
// kept whole, so that the instruments name their samples as before.
//
// FluidSynth keeps the tables of every preset of a SoundFont it loads (some
// 12 MB for FluidR3_GM's 190); a song plays a few of them. And it loads the
// samples of every zone of a preset that a channel selects, where a song's
// notes fall in some of them (a piano has a zone for every few keys, and
// more for soft and loud notes).
class SoundFontSubset {
public:
    // The subset of `presets` (bank, program) that `soundFont` holds, each
    // with the zones that the notes given with it fall in, or none where
    // its chunks do not make a SoundFont's tables that can be cut. A
    // SoundFont holding none of them gives its first preset, so that it
    // still loads.
    static std::unique_ptr<SoundFontSubset>
    of(const std::filesystem::path& soundFont,
       const std::map<SongPresets::Preset, PlayedNotes>& presets);

    const std::filesystem::path& source() const { return source_; }
    std::uintmax_t sourceSize() const { return sourceSize_; }
    // The subset's size, as a file.
    std::uint64_t size() const;
    // Reads `count` bytes at `offset` of the subset, with the source open
    // in `source`; false where they are not all there.
    bool read(std::FILE* source, std::uint64_t offset, void* into, std::size_t count) const;

private:
    SoundFontSubset() = default;

    std::filesystem::path source_;
    std::uintmax_t sourceSize_ = 0;
    std::vector<std::uint8_t> header_; // RIFF, its size for the subset, sfbk
    std::uint64_t tablesStart_ = 0;    // where the source's `pdta` list starts
    std::uint64_t tablesEnd_ = 0;      // and where it ends
    std::vector<std::uint8_t> tables_; // the subset's `pdta` list
};
