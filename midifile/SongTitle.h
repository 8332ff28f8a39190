#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// The song's name as a MIDI file gives it: the name of its first track (a
// "sequence or track name" event before the track's first note or first
// pause), in the file's own bytes, whose character set the file does not
// say. Standard and RIFF MIDI files; empty when the file names nothing.
namespace SongTitle {

// The name lies at the start of the file: this much of it is enough.
constexpr std::size_t bytesNeeded = 64 * 1024;

std::string of(std::span<const std::uint8_t> fileStart);

} // namespace SongTitle
