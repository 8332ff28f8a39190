#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// Reads the numbers and runs of bytes of a file front to back, never past
// its end: every read that does not fit gives nothing and moves nothing.
class ByteReader {
public:
    using Bytes = std::span<const std::uint8_t>;

    explicit ByteReader(Bytes bytes) : bytes_(bytes) {}

    std::size_t left() const { return bytes_.size() - at_; }

    std::optional<std::uint8_t> byte();
    std::optional<std::uint8_t> peek() const;
    // Most significant byte first, as MIDI files store their numbers.
    std::optional<std::uint16_t> bigEndian16();
    std::optional<std::uint32_t> bigEndian32();
    // Least significant byte first, as RIFF files store theirs.
    std::optional<std::uint32_t> littleEndian32();
    // A MIDI variable-length number: 7 bits a byte, the top bit set on all
    // but the last, at most 4 bytes.
    std::optional<std::uint32_t> number();
    // The next `count` bytes.
    std::optional<Bytes> take(std::uint64_t count);
    // Up to `count` bytes: as many as there are.
    Bytes takeAtMost(std::uint64_t count);
    bool skip(std::uint64_t count);

private:
    std::optional<std::uint32_t> read32(bool mostSignificantFirst);

    Bytes bytes_;
    std::size_t at_ = 0;
};
