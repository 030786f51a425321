#include "platform/sys/FindFile.h"

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

struct FindFileSearch {
    DIR* dir = nullptr; // null for the lookup of a single entry, which has nothing more to give
};

namespace {

bool IsListingPattern(const std::string& last) {
    return last == "*" || last == "*.*";
}

// Fills the record from what stat says; false for the kinds of entry that are not reported.
bool FillRecord(const struct stat& st, const char* name, WIN32_FIND_DATA* data) {
    DWORD attributes;
    if (S_ISDIR(st.st_mode))
        attributes = FILE_ATTRIBUTE_DIRECTORY;
    else if (S_ISREG(st.st_mode))
        attributes = FILE_ATTRIBUTE_NORMAL;
    else
        return false;
    auto size = static_cast<std::uint64_t>(st.st_size);
    data->dwFileAttributes = attributes;
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
    data->nDevice = static_cast<std::uint64_t>(st.st_dev);
    data->nInode = static_cast<std::uint64_t>(st.st_ino);
    data->cFileName.assign(name);
    return true;
}

// Reads entries until one can be reported. Stat goes through the open folder's descriptor, so
// the folder's path is not resolved again for every entry and its length does not matter.
bool ReadNext(DIR* dir, WIN32_FIND_DATA* data) {
    int fd = dirfd(dir);
    while (dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        // "." and ".." are left out, as they are in a drive root on Windows: nothing walks into
        // them, and not stat'ing them saves two calls per folder.
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        struct stat st;
        if (fstatat(fd, name, &st, 0) != 0)
            continue; // a dangling link, or an entry removed since the folder was read
        if (FillRecord(st, name, data))
            return true;
    }
    return false;
}

// The name a lookup reports: the last component, without the slashes that may follow it.
std::string LastComponent(const std::string& path) {
    std::size_t end = path.find_last_not_of('/');
    if (end == std::string::npos)
        return "/";
    std::size_t start = path.rfind('/', end);
    start = start == std::string::npos ? 0 : start + 1;
    return path.substr(start, end + 1 - start);
}

} // namespace

HFIND FindFirstFile(const std::string& pattern, WIN32_FIND_DATA* data) {
    if (pattern.empty() || pattern.size() >= kMaxPathBytes)
        return nullptr;
    std::size_t slash = pattern.rfind('/');
    std::size_t lastStart = slash == std::string::npos ? 0 : slash + 1;
    if (IsListingPattern(pattern.substr(lastStart))) {
        std::string folder = lastStart == 0 ? std::string(".") : pattern.substr(0, lastStart);
        DIR* dir = opendir(folder.c_str());
        if (!dir)
            return nullptr;
        WIN32_FIND_DATA first;
        if (!ReadNext(dir, &first)) {
            closedir(dir);
            return nullptr;
        }
        *data = std::move(first);
        return new FindFileSearch{dir};
    }
    struct stat st;
    if (stat(pattern.c_str(), &st) != 0)
        return nullptr;
    WIN32_FIND_DATA found;
    if (!FillRecord(st, LastComponent(pattern).c_str(), &found))
        return nullptr;
    *data = std::move(found);
    return new FindFileSearch{};
}

BOOL FindNextFile(HFIND search, WIN32_FIND_DATA* data) {
    if (!search || !search->dir)
        return FALSE;
    return ReadNext(search->dir, data) ? TRUE : FALSE;
}

BOOL FindClose(HFIND search) {
    if (!search)
        return FALSE;
    if (search->dir)
        closedir(search->dir);
    delete search;
    return TRUE;
}

DWORD GetLogicalDriveStrings(DWORD bufferLength, char* buffer) {
    static constexpr char kDrives[] = "/\0"; // the one root, then the empty string that ends the list
    if (bufferLength < sizeof kDrives || !buffer)
        return sizeof kDrives;
    std::memcpy(buffer, kDrives, sizeof kDrives);
    return sizeof kDrives - 1;
}
