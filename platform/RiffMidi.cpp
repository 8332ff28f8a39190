#include "platform/RiffMidi.h"

#include <algorithm>
#include <cstring>

namespace {

bool hasId(RiffMidi::Bytes bytes, std::size_t at, const char* id) {
    return at + 4 <= bytes.size() && std::memcmp(bytes.data() + at, id, 4) == 0;
}

std::uint32_t little32(RiffMidi::Bytes bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

} // namespace

bool RiffMidi::isRiff(Bytes file) {
    return hasId(file, 0, "RIFF");
}

std::optional<RiffMidi::Bytes> RiffMidi::dataChunk(Bytes file, std::string& refusal) {
    constexpr std::size_t riffHeader = 12;
    constexpr std::size_t chunkHeader = 8;
    if (file.size() < riffHeader || !isRiff(file)) {
        refusal = "not a RIFF file";
        return std::nullopt;
    }
    if (!hasId(file, 8, "RMID")) {
        refusal = "a RIFF file that holds no MIDI";
        return std::nullopt;
    }
    // 64-bit positions: a length near 4 GB must not wrap around.
    std::uint64_t at = riffHeader;
    while (at + chunkHeader <= file.size()) {
        const std::uint64_t length = little32(file, at + 4);
        const std::uint64_t body = at + chunkHeader;
        if (hasId(file, at, "data")) {
            const std::uint64_t available = std::min<std::uint64_t>(length, file.size() - body);
            return file.subspan(body, available);
        }
        at = body + length + (length & 1);
    }
    refusal = "a RIFF MIDI file without its data chunk";
    return std::nullopt;
}
