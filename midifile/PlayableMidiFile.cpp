#include "midifile/PlayableMidiFile.h"

#include "midifile/RiffMidi.h"

namespace {

using Result = PlayableMidiFile::Result;

Result checked(MidiFileNormaliser::Result midi) {
    if (midi.ok())
        return {std::move(midi.bytes), PlayableMidiFile::Refusal::None, {}};
    switch (midi.kind) {
    case MidiFileNormaliser::Refusal::NotMidi:
        return {{}, PlayableMidiFile::Refusal::NotMidi, std::move(midi.refusal)};
    case MidiFileNormaliser::Refusal::TooManyEvents:
        return {{}, PlayableMidiFile::Refusal::TooManyEvents, std::move(midi.refusal)};
    case MidiFileNormaliser::Refusal::Damaged:
        break;
    }
    return {{}, PlayableMidiFile::Refusal::Damaged, std::move(midi.refusal)};
}

} // namespace

PlayableMidiFile::Result PlayableMidiFile::fromBytes(std::span<const std::uint8_t> file) {
    if (file.empty())
        return {{}, Refusal::Empty, "empty file"};
    if (!RiffMidi::isRiff(file))
        return checked(MidiFileNormaliser::normalise(file));
    std::string refusal;
    const std::optional<RiffMidi::Bytes> data = RiffMidi::dataChunk(file, refusal);
    if (!data)
        return {{}, Refusal::NotMidi, std::move(refusal)};
    return checked(MidiFileNormaliser::normalise(*data));
}
