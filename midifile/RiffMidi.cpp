#include "midifile/RiffMidi.h"

#include "midifile/Chunks.h"

#include <cstring>

bool RiffMidi::isRiff(Bytes file) {
    return file.size() >= 4 && std::memcmp(file.data(), "RIFF", 4) == 0;
}

std::optional<RiffMidi::Bytes> RiffMidi::dataChunk(Bytes file, std::string& refusal) {
    constexpr std::size_t riffHeader = 12;
    if (file.size() < riffHeader || !isRiff(file)) {
        refusal = "not a RIFF file";
        return std::nullopt;
    }
    if (std::memcmp(file.data() + 8, "RMID", 4) != 0) {
        refusal = "a RIFF file that holds no MIDI";
        return std::nullopt;
    }
    Chunks chunks(file.subspan(riffHeader), Chunks::Layout::Riff);
    while (const std::optional<Chunks::Chunk> chunk = chunks.next()) {
        if (chunk->id == "data")
            return chunk->body;
    }
    refusal = "a RIFF MIDI file without its data chunk";
    return std::nullopt;
}
