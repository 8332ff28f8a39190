// RIFF MIDI unwrapping on any bytes: the data chunk it finds lies inside the
// file, right after a "data" chunk header, and what it holds goes through the
// MIDI check as the sound engine would hand it on.
#include "FuzzCheck.h"

#include "midifile/MidiFileNormaliser.h"
#include "midifile/RiffMidi.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const RiffMidi::Bytes file(data, size);
    std::string refusal;
    const std::optional<RiffMidi::Bytes> chunk = RiffMidi::dataChunk(file, refusal);
    if (!chunk) {
        FUZZ_CHECK(!refusal.empty());
        return 0;
    }
    FUZZ_CHECK(RiffMidi::isRiff(file));
    const std::size_t body = static_cast<std::size_t>(chunk->data() - data);
    FUZZ_CHECK(body >= 20 && body <= size && chunk->size() <= size - body);
    FUZZ_CHECK(std::memcmp(data + body - 8, "data", 4) == 0);
    MidiFileNormaliser::normalise(*chunk);
    return 0;
}
