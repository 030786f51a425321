#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/midi/MidiFile.h"

namespace midi {

namespace {

// Closes the descriptor on every way out of ReadMidiFile.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

ReadError OpenError(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return ReadError{ReadErrorKind::NotFound, 0, ""};
    case EACCES:
    case EPERM:
        return ReadError{ReadErrorKind::NoPermission, 0, ""};
    default:
        return ReadError{ReadErrorKind::IoError, 0, std::strerror(error)};
    }
}

} // namespace

Result<Song> ReadMidiFile(const std::string& path) {
    if (path.empty())
        return ReadError{ReadErrorKind::NotFound, 0, "no file name"};
    // Non-blocking, so that opening a FIFO somebody named .mid cannot hang the player.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0)
        return OpenError(errno);

    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return ReadError{ReadErrorKind::IoError, 0, std::strerror(errno)};
    if (S_ISDIR(info.st_mode))
        return ReadError{ReadErrorKind::NotFound, 0, "it is a folder"};
    // Devices and pipes have no end we could rely on.
    if (!S_ISREG(info.st_mode))
        return ReadError{ReadErrorKind::NotMidi, 0, "not a regular file"};
    if (static_cast<std::uint64_t>(info.st_size) > kMaxFileSize)
        return ReadError{ReadErrorKind::TooLarge, kMaxFileSize, "larger than 64 MiB"};

    // The file may change while we read it; we take what is there up to the size we saw, and one
    // byte more tells us it grew past the limit.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN)
                break;
            return ReadError{ReadErrorKind::IoError, got, std::strerror(errno)};
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    if (got > kMaxFileSize)
        return ReadError{ReadErrorKind::TooLarge, kMaxFileSize, "larger than 64 MiB"};
    bytes.resize(got);
    return ParseMidi(bytes);
}

} // namespace midi
