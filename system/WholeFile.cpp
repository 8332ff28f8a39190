#include "system/WholeFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int release() { return std::exchange(fd, -1); }

    int fd;
};

[[noreturn]] void fail(int error) {
    throw WholeFileError(WholeFileError::Reason::System, error);
}

void refuseUnlessRegular(const struct stat& status) {
    if (S_ISDIR(status.st_mode))
        throw WholeFileError(WholeFileError::Reason::Folder);
    if (!S_ISREG(status.st_mode))
        throw WholeFileError(WholeFileError::Reason::NotRegular);
}

// A new file gets the permissions that the umask leaves.
mode_t modeFor(const std::string& target) {
    struct stat status;
    if (::stat(target.c_str(), &status) == 0) {
        refuseUnlessRegular(status);
        // Replacing needs only the folder's permission; the file's own
        // protection must hold all the same.
        if ((status.st_mode & 0222) == 0)
            throw WholeFileError(WholeFileError::Reason::ReadOnly);
        if (::access(target.c_str(), W_OK) != 0)
            fail(errno);
        return status.st_mode & 07777;
    }
    if (errno != ENOENT)
        fail(errno);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A name with a NUL byte would silently name another file.
const char* checked(const std::string& path) {
    if (path.find('\0') != std::string::npos)
        fail(EINVAL);
    return path.c_str();
}

// The file a path names at the end of its symbolic links, whether that
// file exists or not (a link may point to a file still to be made).
std::string resolved(const std::string& path) {
    std::string current = checked(path);
    for (int hop = 0; hop < 40; ++hop) {
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), buffer, sizeof buffer);
        if (length < 0)
            return current; // not a link (or not there): the file itself
        const std::string target(buffer, static_cast<std::size_t>(length));
        const std::size_t slash = current.rfind('/');
        current = target.starts_with('/') || slash == std::string::npos
                      ? target
                      : current.substr(0, slash + 1) + target;
    }
    fail(ELOOP);
}

void writeAll(int fd, std::string_view bytes, const WholeFile::WriteFunction& write) {
    while (!bytes.empty()) {
        const long count =
            write ? write(fd, bytes.data(), bytes.size()) : ::write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            fail(count == 0 ? ENOSPC : errno);
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
}

// Reads a regular file, refusing anything else before opening it, up to
// `limit` bytes; `wholeOnly` refuses a larger file instead of reading its start.
std::string readRegular(const std::string& path, long long limit, bool wholeOnly) {
    struct stat status;
    if (::stat(checked(path), &status) != 0)
        fail(errno);
    refuseUnlessRegular(status);
    if (wholeOnly && status.st_size > limit)
        throw WholeFileError(WholeFileError::Reason::TooLarge);
    // Non-blocking in case a FIFO has taken the file's place since.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.fd < 0 || ::fstat(file.fd, &status) != 0)
        fail(errno);
    refuseUnlessRegular(status);

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(std::min<long long>(status.st_size, limit)));
    std::vector<char> chunk(64 * 1024);
    for (;;) {
        const ssize_t count = ::read(file.fd, chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            fail(errno);
        if (count == 0)
            return bytes;
        const long long room = limit - static_cast<long long>(bytes.size());
        if (count > room) {
            if (wholeOnly)
                throw WholeFileError(WholeFileError::Reason::TooLarge);
            bytes.append(chunk.data(), static_cast<std::size_t>(room));
            return bytes;
        }
        bytes.append(chunk.data(), static_cast<std::size_t>(count));
    }
}

} // namespace

WholeFileError::WholeFileError(Reason reason, int error)
    : std::runtime_error(reason == Reason::System       ? std::strerror(error)
                         : reason == Reason::Folder     ? "a folder"
                         : reason == Reason::NotRegular ? "not a regular file"
                         : reason == Reason::ReadOnly   ? "read-only"
                                                        : "too large"),
      reason(reason), error(error) {}

std::string WholeFile::read(const std::string& path, long long maxBytes) {
    return readRegular(path, maxBytes, true);
}

std::string WholeFile::readStart(const std::string& path, long long maxBytes) {
    return readRegular(path, maxBytes, false);
}

void WholeFile::replace(const std::string& path, std::string_view bytes,
                        const WriteFunction& write) {
    const std::string target = resolved(path);
    const mode_t mode = modeFor(target);
    const std::size_t slash = target.rfind('/') + 1; // 0 when there is no slash
    std::string temporary = target.substr(0, slash) + '.' + target.substr(slash, 200) + ".XXXXXX";
    Descriptor file(::mkstemp(temporary.data()));
    if (file.fd < 0)
        fail(errno);
    try {
        if (::fchmod(file.fd, mode) != 0)
            fail(errno);
        writeAll(file.fd, bytes, write);
        if (::fsync(file.fd) != 0 || ::close(file.release()) != 0)
            fail(errno);
        if (::rename(temporary.c_str(), target.c_str()) != 0)
            fail(errno);
    } catch (const WholeFileError&) {
        ::unlink(temporary.c_str());
        throw;
    }
}
