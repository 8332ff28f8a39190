#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

class WholeFileError : public std::runtime_error {
public:
    enum class Reason {
        System,     // `error` holds the errno value
        Folder,     // the path names a folder
        NotRegular, // a FIFO, a device, a socket
        TooLarge,
        ReadOnly, // a file its owner made read-only, not to be replaced
    };
    explicit WholeFileError(Reason reason, int error = 0);

    Reason reason;
    int error;
};

// A file read or written as a whole, so that a failure never leaves half of
// it behind. Throws WholeFileError.
class WholeFile {
public:
    // Refuses anything but a regular file before opening it, since opening a
    // FIFO or a device may block or act, and refuses a file larger than
    // maxBytes without reading it.
    static std::string read(const std::string& path, long long maxBytes);
    // The first maxBytes of a regular file, or all of a smaller one.
    static std::string readStart(const std::string& path, long long maxBytes);

    // Writes the bytes to a new file in the same folder, flushes it to disk
    // and renames it over the target; on failure the target stays as it was
    // and the new file is removed. The target keeps its permissions, and a
    // symbolic link keeps pointing to it, also one whose target does not
    // exist yet. A read-only target is refused, even where the folder would
    // let it be replaced. `write` stands in for write(2) (a test's disk that
    // fails part-way); empty: write(2).
    using WriteFunction = std::function<long(int fd, const char* data, std::size_t size)>;
    static void replace(const std::string& path, std::string_view bytes,
                        const WriteFunction& write = {});
};
