#include "midifile/PlayableMidiFile.h"

#include "midifile/RiffMidi.h"

#include <optional>
#include <string>

PlayableMidiFile::Result PlayableMidiFile::fromBytes(std::span<const std::uint8_t> file) {
    if (file.empty())
        return {{}, "empty file", Refusal::Empty};
    if (!RiffMidi::isRiff(file))
        return MidiFileNormaliser::normalise(file);
    std::string refusal;
    const std::optional<RiffMidi::Bytes> data = RiffMidi::dataChunk(file, refusal);
    if (!data)
        return {{}, std::move(refusal), Refusal::NotMidi};
    return MidiFileNormaliser::normalise(*data);
}
