#pragma once

#include <string>

// The C runtime's path splitting, on POSIX paths: the drive part is always empty (a backslash is
// an ordinary character in a Linux file name, and '/' is the only separator); the directory runs
// up to and including the last '/'; the extension runs from the last dot after it, dot included;
// the name is what lies between. The name and the extension are each cut to kMaxPathPart bytes;
// the directory is kept whole.
struct SplitPathParts {
    std::string drive;
    std::string dir;
    std::string fname;
    std::string ext;
};

inline constexpr std::size_t kMaxPathPart = 255;

SplitPathParts SplitPath(const std::string& path);
