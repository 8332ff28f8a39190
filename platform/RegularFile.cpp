#include "platform/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

std::string systemError() {
    return std::strerror(errno);
}

} // namespace

std::optional<std::vector<std::uint8_t>>
RegularFile::readAll(const std::string& path, std::size_t maxSize, std::string& refusal) {
    if (path.empty()) {
        refusal = "no file name";
        return std::nullopt;
    }
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait forever.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        refusal = systemError();
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        refusal = systemError();
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        refusal = S_ISDIR(status.st_mode) ? "a folder" : "not a regular file";
        return std::nullopt;
    }
    if (status.st_size <= 0) {
        refusal = "empty file";
        return std::nullopt;
    }
    if (static_cast<std::uintmax_t>(status.st_size) > maxSize) {
        refusal = "file too large";
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(status.st_size));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            refusal = systemError();
            return std::nullopt;
        }
        if (got == 0)
            break; // the file shrank while we read it: take what is there
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    if (bytes.empty()) {
        refusal = "empty file";
        return std::nullopt;
    }
    return bytes;
}
