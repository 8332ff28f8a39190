#include "midifile/Chunks.h"

std::optional<Chunks::Chunk> Chunks::next() {
    const std::optional<ByteReader::Bytes> id = in_.take(4);
    const std::optional<std::uint32_t> length = !id                       ? std::nullopt
                                                : layout_ == Layout::Midi ? in_.bigEndian32()
                                                                          : in_.littleEndian32();
    if (!length)
        return std::nullopt;
    Chunk chunk;
    chunk.id = {reinterpret_cast<const char*>(id->data()), id->size()};
    chunk.cut = *length > in_.left();
    chunk.body = in_.takeAtMost(*length);
    if (chunk.cut)
        in_.takeAtMost(in_.left()); // nothing follows a chunk that runs past the end
    else if (layout_ == Layout::Riff && *length % 2 == 1)
        in_.skip(1);
    return chunk;
}
