#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Reads a whole file that the user named, whatever the name holds. Only a
// regular file is read: a folder, a FIFO or a device file is refused at once,
// without blocking (it is opened non-blocking and checked before any read).
class RegularFile {
public:
    // The file's bytes, or nothing with `refusal` saying why (for a one-line
    // diagnostic). An empty file and one larger than maxSize are refused.
    static std::optional<std::vector<std::uint8_t>>
    readAll(const std::string& path, std::size_t maxSize, std::string& refusal);
};
