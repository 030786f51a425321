#include "platform/sys/FileReader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileReader::FileReader(const std::string& path) {
    // Without O_NONBLOCK, opening a named pipe would wait for a writer that may never come.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return;
    }
    m_fd = fd;
    m_size = static_cast<std::size_t>(info.st_size);
}

FileReader::~FileReader() {
    if (m_fd >= 0)
        close(m_fd);
}

std::size_t FileReader::Read(char* buffer, std::size_t size) {
    std::size_t filled = 0;
    while (m_fd >= 0 && filled < size) {
        ssize_t got = read(m_fd, buffer + filled, size - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got < 0) {
                close(m_fd);
                m_fd = -1;
            }
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    return filled;
}
