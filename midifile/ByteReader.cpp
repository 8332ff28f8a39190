#include "midifile/ByteReader.h"

#include <algorithm>

std::optional<std::uint8_t> ByteReader::byte() {
    if (at_ >= bytes_.size())
        return std::nullopt;
    return bytes_[at_++];
}

std::optional<std::uint8_t> ByteReader::peek() const {
    if (at_ >= bytes_.size())
        return std::nullopt;
    return bytes_[at_];
}

std::optional<std::uint16_t> ByteReader::bigEndian16() {
    const std::optional<Bytes> two = take(2);
    if (!two)
        return std::nullopt;
    return static_cast<std::uint16_t>((*two)[0] << 8 | (*two)[1]);
}

std::optional<std::uint32_t> ByteReader::bigEndian32() {
    return read32(true);
}

std::optional<std::uint32_t> ByteReader::littleEndian32() {
    return read32(false);
}

std::optional<std::uint32_t> ByteReader::read32(bool mostSignificantFirst) {
    const std::optional<Bytes> four = take(4);
    if (!four)
        return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | (*four)[mostSignificantFirst ? i : 3 - i];
    return value;
}

std::optional<std::uint32_t> ByteReader::number() {
    const std::size_t start = at_;
    std::uint32_t value = 0;
    for (int i = 0; i < 4 && at_ < bytes_.size(); ++i) {
        const std::uint8_t next = bytes_[at_++];
        value = value << 7 | (next & 0x7F);
        if ((next & 0x80) == 0)
            return value;
    }
    at_ = start;
    return std::nullopt;
}

std::optional<ByteReader::Bytes> ByteReader::take(std::uint64_t count) {
    if (count > left())
        return std::nullopt;
    return takeAtMost(count);
}

ByteReader::Bytes ByteReader::takeAtMost(std::uint64_t count) {
    const std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(count, left()));
    const Bytes taken = bytes_.subspan(at_, size);
    at_ += size;
    return taken;
}

bool ByteReader::skip(std::uint64_t count) {
    return take(count).has_value();
}
