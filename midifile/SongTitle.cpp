#include "midifile/SongTitle.h"

#include "midifile/Chunks.h"
#include "midifile/MidiFileNormaliser.h"
#include "midifile/RiffMidi.h"
#include "midifile/TrackEvents.h"

#include <optional>

namespace SongTitle {

namespace {

constexpr std::uint8_t trackName = 0x03;
constexpr std::uint8_t noteOn = 0x90;

std::string firstTrackName(ByteReader::Bytes track) {
    TrackEvents events(track);
    while (const std::optional<TrackEvents::Event> event = events.next()) {
        if (event->delta > 0 || event->kind() == noteOn)
            break;
        if (event->status == TrackEvents::meta && event->metaType == trackName) {
            std::string name(event->data.begin(), event->data.end());
            // Some sequencers pad names with NULs or spaces.
            name.erase(name.find_last_not_of(std::string_view("\0 ", 2)) + 1);
            return name;
        }
    }
    return {};
}

} // namespace

std::string of(std::span<const std::uint8_t> fileStart) {
    std::span<const std::uint8_t> midi = fileStart;
    if (RiffMidi::isRiff(fileStart)) {
        std::string refusal;
        const std::optional<RiffMidi::Bytes> data = RiffMidi::dataChunk(fileStart, refusal);
        if (!data)
            return {};
        midi = *data;
    }
    const std::optional<std::size_t> header = MidiFileNormaliser::findHeader(midi);
    if (!header)
        return {};
    Chunks chunks(midi.subspan(*header), Chunks::Layout::Midi);
    while (const std::optional<Chunks::Chunk> chunk = chunks.next()) {
        if (chunk->id == "MTrk")
            return firstTrackName(chunk->body);
    }
    return {};
}

} // namespace SongTitle
