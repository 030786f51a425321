#include "platform/sys/SplitPath.h"

SplitPathParts SplitPath(const std::string& path) {
    SplitPathParts parts;
    std::size_t slash = path.rfind('/');
    std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    parts.dir = path.substr(0, nameStart);
    std::string last = path.substr(nameStart);
    std::size_t dot = last.rfind('.');
    if (dot == std::string::npos) {
        parts.fname = last;
    } else {
        parts.fname = last.substr(0, dot);
        parts.ext = last.substr(dot);
    }
    // The directory stays whole: Linux paths run far beyond the Windows buffer of 256 bytes, and
    // the folder a song is shown in must be its real one.
    for (std::string* part : {&parts.fname, &parts.ext}) {
        if (part->size() > kMaxPathPart)
            part->resize(kMaxPathPart);
    }
    return parts;
}
