#include "res/Strings.h"

#include "res/Resource.h"

std::string LoadString(int id) {
    switch (id) {
    case IDS_ABOUTBOX:
        return "&About Shufflon...";
    // Linux has no drive letters: the free space is that of the file system the current folder is
    // on, named by its mount point.
    case IDS_MEMORY:
        return "%lu KB";
    case IDS_DISKFREE:
        return "%lu KB Free on %s";
    case IDS_UNAVAILABLE:
        return "Unavailable";
    default:
        return std::string();
    }
}
