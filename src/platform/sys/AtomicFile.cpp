#include "platform/sys/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

bool WriteFileAtomically(const std::string& path, const std::string& data) {
    std::error_code error;
    std::filesystem::path target(path);
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), error);

    std::string temporary = path + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0)
        return false;
    const char* next = data.data();
    std::size_t left = data.size();
    bool ok = true;
    while (left > 0) {
        ssize_t written = write(fd, next, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            ok = false;
            break;
        }
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    ok = ok && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    if (ok) {
        // mkstemp makes the file private; a profile is an ordinary user file.
        fchmodat(AT_FDCWD, temporary.c_str(), 0644, 0);
        ok = rename(temporary.c_str(), path.c_str()) == 0;
    }
    if (!ok)
        unlink(temporary.c_str());
    return ok;
}
