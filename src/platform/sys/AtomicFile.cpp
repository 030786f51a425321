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

bool WriteAll(int fd, std::string_view data) {
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

AtomicFileWriter::AtomicFileWriter(const std::string& path) : m_target(FinalTarget(path)) {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::path(m_target).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);

    // The new file takes the old one's permissions and owner (a profile the user made private
    // stays private); a file made anew gets what the user's umask gives any new file.
    struct stat old;
    m_replacing = stat(m_target.c_str(), &old) == 0;
    if (m_replacing) {
        m_mode = old.st_mode & 07777;
        m_owner = old.st_uid;
        m_group = old.st_gid;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        m_mode = 0666 & ~mask;
    }

    m_temporary = m_target + ".XXXXXX";
    m_fd = mkstemp(m_temporary.data());
    m_ok = m_fd >= 0;
}

AtomicFileWriter::~AtomicFileWriter() {
    if (m_fd >= 0) {
        close(m_fd);
        unlink(m_temporary.c_str());
    }
}

bool AtomicFileWriter::Write(std::string_view data) {
    m_ok = m_ok && WriteAll(m_fd, data);
    return m_ok;
}

bool AtomicFileWriter::Commit() {
    if (m_fd < 0)
        return false;
    bool ok = m_ok && fchmod(m_fd, m_mode) == 0;
    if (ok && m_replacing && (m_owner != geteuid() || m_group != getegid())) {
        // Only root may give a file away; anyone else keeps the file as theirs.
        [[maybe_unused]] int owned = fchown(m_fd, m_owner, m_group);
    }
    ok = ok && fsync(m_fd) == 0;
    ok = (close(m_fd) == 0) && ok;
    m_fd = -1;
    ok = ok && rename(m_temporary.c_str(), m_target.c_str()) == 0;
    if (!ok)
        unlink(m_temporary.c_str());
    m_ok = false;
    return ok;
}

bool WriteFileAtomically(const std::string& path, std::string_view data) {
    AtomicFileWriter file(path);
    file.Write(data);
    return file.Commit();
}
