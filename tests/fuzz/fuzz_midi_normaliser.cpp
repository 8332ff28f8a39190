// The MIDI file check on any bytes: it refuses with a reason, or gives a
// well-formed file (a header of length 6, no more than 128 tracks, every
// track a whole chunk ending in end-of-track) that it would pass on
// unchanged. The song's name is read from the same bytes.
#include "FuzzCheck.h"

#include "midifile/MidiFileNormaliser.h"
#include "midifile/SongTitle.h"

#include <cstring>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t big(const Bytes& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | bytes[at + i];
    return value;
}

void checkWellFormed(const Bytes& midi) {
    FUZZ_CHECK(midi.size() >= 14 && std::memcmp(midi.data(), "MThd", 4) == 0);
    FUZZ_CHECK(big(midi, 4, 4) == 6 && big(midi, 8, 2) <= 2);
    const std::uint32_t tracks = big(midi, 10, 2);
    FUZZ_CHECK(tracks >= 1 && tracks <= MidiFileNormaliser::maxTracks);
    const std::uint32_t division = big(midi, 12, 2);
    FUZZ_CHECK(division != 0 && (division & 0x8000) == 0);
    std::size_t at = 14;
    for (std::uint32_t track = 0; track < tracks; ++track) {
        FUZZ_CHECK(midi.size() - at >= 8 && std::memcmp(midi.data() + at, "MTrk", 4) == 0);
        const std::size_t length = big(midi, at + 4, 4);
        at += 8;
        FUZZ_CHECK(length >= 4 && midi.size() - at >= length);
        at += length;
        FUZZ_CHECK(big(midi, at - 3, 3) == 0xFF2F00);
    }
    FUZZ_CHECK(at == midi.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FUZZ_CHECK(SongTitle::of({data, size}).size() <= size);
    const MidiFileNormaliser::Result result = MidiFileNormaliser::normalise({data, size});
    if (!result.ok()) {
        FUZZ_CHECK(result.bytes.empty());
        return 0;
    }
    checkWellFormed(result.bytes);
    const MidiFileNormaliser::Result again = MidiFileNormaliser::normalise(result.bytes);
    FUZZ_CHECK(again.ok() && again.bytes == result.bytes);
    return 0;
}
