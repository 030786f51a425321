#include "platform/sys/SystemInfo.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

std::uint64_t TotalPhysicalMemory() {
    long pages = sysconf(_SC_PHYS_PAGES);
    long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return 0;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

namespace {

// The mount point is the highest folder above `path` on the same device: climbing further would
// cross into the file system it is mounted on.
std::string MountPointOf(const std::string& path, dev_t device) {
    std::string mount = path;
    while (mount.size() > 1) {
        std::string::size_type slash = mount.find_last_of('/');
        std::string parent = slash == 0 ? "/" : mount.substr(0, slash);
        struct stat info {};
        if (stat(parent.c_str(), &info) != 0 || info.st_dev != device)
            break;
        mount = parent;
    }
    return mount;
}

} // namespace

std::optional<DiskSpace> FreeDiskSpace(const std::string& path) {
    struct statvfs fs {};
    struct stat info {};
    if (path.empty() || path[0] != '/' || statvfs(path.c_str(), &fs) != 0 || stat(path.c_str(), &info) != 0)
        return std::nullopt;
    // Both factors are at most 64 bits wide and f_frsize is small, so the product fits for any
    // file system smaller than 16 exabytes.
    std::uint64_t freeBytes =
        static_cast<std::uint64_t>(fs.f_bavail) * static_cast<std::uint64_t>(fs.f_frsize);
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    return DiskSpace{freeBytes, MountPointOf(trimmed, info.st_dev)};
}
