#include "platform/sys/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Symbolic links are followed to the file they name, as the kernel would for an open, so that a
// profile kept elsewhere by a dotfile manager is updated there and the link stays a link. A loop
// of links, or one too long, ends the walk where it is; the rename then fails or replaces a link,
// as the plain write would have.
std::string FinalTarget(const std::string& path) {
    std::filesystem::path current(path);
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info;
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            break;
        char target[PATH_MAX];
        ssize_t length = readlink(current.c_str(), target, sizeof target - 1);
        if (length <= 0)
            break;
        std::filesystem::path next(std::string(target, static_cast<std::size_t>(length)));
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current.string();
}

bool WriteAll(int fd, const std::string& data) {
    const char* next = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t written = write(fd, next, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

bool WriteFileAtomically(const std::string& path, const std::string& data) {
    std::string target = FinalTarget(path);
    std::error_code error;
    std::filesystem::path folder = std::filesystem::path(target).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);

    // The new file takes the old one's permissions and owner (a profile the user made private
    // stays private); a file made anew gets what the user's umask gives any new file.
    struct stat old;
    bool replacing = stat(target.c_str(), &old) == 0;
    mode_t mode;
    if (replacing) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }

    std::string temporary = target + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, data);
    ok = ok && fchmod(fd, mode) == 0;
    if (ok && replacing && (old.st_uid != geteuid() || old.st_gid != getegid())) {
        // Only root may give a file away; anyone else keeps the file as theirs.
        [[maybe_unused]] int owned = fchown(fd, old.st_uid, old.st_gid);
    }
    ok = ok && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok)
        unlink(temporary.c_str());
    return ok;
}
