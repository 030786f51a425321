#include "search/FileChecks.h"

#include "platform/sys/FindFile.h"
#include "platform/ui/ListCtrl.h"

#include <cstring>

namespace {

// Looks one entry up; false when it does not exist.
bool LookUp(const std::string& path, WIN32_FIND_DATA* data) {
    HFIND search = FindFirstFile(path, data);
    if (!search)
        return false;
    FindClose(search);
    return true;
}

} // namespace

bool IsValidFolder(const std::string& path) {
    if (path.empty())
        return false;
    // A zeroed buffer reads as an empty list should the call leave it alone.
    char drives[200] = {};
    if (GetLogicalDriveStrings(199, drives) == 0)
        return false;
    // Drive roots are accepted without being looked up.
    for (const char* root = drives; *root != '\0'; root += std::strlen(root) + 1) {
        if (CompareNoCase(path, root) == 0)
            return true;
    }
    WIN32_FIND_DATA data;
    return LookUp(path, &data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const std::string& path) {
    if (path.empty())
        return false;
    WIN32_FIND_DATA data;
    return LookUp(path, &data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
