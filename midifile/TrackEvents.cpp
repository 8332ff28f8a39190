#include "midifile/TrackEvents.h"

#include <algorithm>

namespace {

constexpr std::uint8_t programChange = 0xC0;
constexpr std::uint8_t channelPressure = 0xD0;

// The data bytes a channel message of this status carries.
std::size_t dataBytes(std::uint8_t status) {
    const std::uint8_t kind = status & 0xF0;
    return kind == programChange || kind == channelPressure ? 1 : 2;
}

} // namespace

std::optional<TrackEvents::Event> TrackEvents::next() {
    Event event;
    const std::optional<std::uint32_t> delta = in_.number();
    const std::optional<std::uint8_t> first = in_.peek();
    if (!delta || !first)
        return std::nullopt;
    event.delta = *delta;
    if (*first < 0x80) {
        if (running_ == 0) // at a track's start there is no status to run on
            return std::nullopt;
        event.status = running_;
    } else {
        event.status = *in_.byte();
    }
    if (event.isChannelMessage()) {
        const std::optional<ByteReader::Bytes> data = in_.take(dataBytes(event.status));
        if (!data ||
            std::any_of(data->begin(), data->end(), [](std::uint8_t b) { return b >= 0x80; }))
            return std::nullopt;
        event.data = *data;
        running_ = event.status;
        return event;
    }
    if (event.status == meta) {
        const std::optional<std::uint8_t> type = in_.byte();
        if (!type)
            return std::nullopt;
        event.metaType = *type;
    } else if (event.status != sysex && event.status != sysexEscape) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> length = in_.number();
    const std::optional<ByteReader::Bytes> body = length ? in_.take(*length) : std::nullopt;
    if (!body)
        return std::nullopt;
    event.data = *body;
    return event;
}
