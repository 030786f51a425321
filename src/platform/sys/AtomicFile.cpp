#include "platform/sys/AtomicFile.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
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

// Whether the file may be written as it is. A rename needs only the folder's permission, so
// without this a file the user made read-only would be replaced all the same. A file without any
// write permission counts as read-only also for root, who could open it: that is how a user marks
// a file as not to be changed.
bool MayWrite(const std::string& path, const struct stat& info) {
    if ((info.st_mode & 0222) == 0)
        return false;
    int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

// Temporaries are named after their file, hidden, with a mark of this program's own, so that one
// left by a crash or a power loss is known for what it is.
std::string TemporaryPrefix(const std::filesystem::path& target) {
    return "." + target.filename().string() + ".shufflon-";
}
constexpr std::size_t kRandomPart = 6; // mkstemp's XXXXXX

// Removes the temporaries of earlier writes of this file that never finished. A writer holds a
// lock on its temporary until it is renamed, so one that is locked belongs to a write in
// progress (another instance's); one that is young may be one whose writer has not locked it yet.
void RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& prefix) {
    DIR* listing = opendir(folder.empty() ? "." : folder.c_str());
    if (!listing)
        return;
    const auto now = std::chrono::system_clock::now();
    while (const dirent* entry = readdir(listing)) {
        std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + kRandomPart || !name.starts_with(prefix))
            continue;
        int fd = openat(dirfd(listing), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info;
        bool stale = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                     now - std::chrono::system_clock::from_time_t(info.st_mtime) > std::chrono::minutes(1) &&
                     flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (stale)
            unlinkat(dirfd(listing), entry->d_name, 0);
        close(fd);
    }
    closedir(listing);
}

// After a rename the folder's entry is flushed too: until then a power loss can bring back the
// old file, or no file at all.
void SyncFolder(const std::filesystem::path& folder) {
    int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

} // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& path) : m_target(FinalTarget(path)) {
    std::filesystem::path target(m_target);
    m_folder = target.parent_path().string();
    // A missing folder is made for the file named (a first profile in a new configuration folder),
    // never at the far end of a symbolic link: a link that leads nowhere is the user's to mend.
    std::error_code error;
    if (m_target == path && !m_folder.empty())
        std::filesystem::create_directories(m_folder, error);

    // The new file takes the old one's permissions and owner (a profile the user made private
    // stays private); a file made anew gets what the user's umask gives any new file.
    struct stat old;
    m_replacing = stat(m_target.c_str(), &old) == 0;
    if (m_replacing) {
        if (!MayWrite(m_target, old))
            return;
        m_mode = old.st_mode & 07777;
        m_owner = old.st_uid;
        m_group = old.st_gid;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        m_mode = 0666 & ~mask;
    }

    std::string prefix = TemporaryPrefix(target);
    RemoveStaleTemporaries(m_folder, prefix);
    m_temporary = (target.parent_path() / (prefix + std::string(kRandomPart, 'X'))).string();
    m_fd = mkostemp(m_temporary.data(), O_CLOEXEC);
    if (m_fd >= 0)
        flock(m_fd, LOCK_EX);
    m_ok = m_fd >= 0;
}

AtomicFileWriter::~AtomicFileWriter() {
    if (m_fd >= 0) {
        unlink(m_temporary.c_str());
        close(m_fd);
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
    // Renamed while still open and locked, so that no cleaner takes it for a stale one.
    ok = ok && rename(m_temporary.c_str(), m_target.c_str()) == 0;
    if (!ok)
        unlink(m_temporary.c_str());
    close(m_fd);
    m_fd = -1;
    m_ok = false;
    if (ok)
        SyncFolder(m_folder);
    return ok;
}

bool WriteFileAtomically(const std::string& path, std::string_view data) {
    AtomicFileWriter file(path);
    file.Write(data);
    return file.Commit();
}
