#include "platform/mci/SoundFont.h"

#include <sys/stat.h>
#include <unistd.h>

namespace mci {

const std::vector<std::string>& SystemSoundFonts() {
    static const std::vector<std::string> candidates = {
        "/usr/share/sounds/sf2/default-GM.sf2",        "/usr/share/sounds/sf3/default-GM.sf3",
        "/usr/share/sounds/sf2/default-GM.sf3",        "/usr/share/sounds/sf2/FluidR3_GM.sf2",
        "/usr/share/sounds/sf3/FluidR3Mono_GM.sf3",    "/usr/share/sounds/sf3/MuseScore_General.sf3",
        "/usr/share/sounds/sf2/MuseScore_General.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/sounds/sf2/FluidR3_GS.sf2",
    };
    return candidates;
}

std::string FindSoundFont(const std::vector<std::string>& candidates) {
    for (const std::string& path : candidates) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), R_OK) == 0)
            return path;
    }
    return {};
}

} // namespace mci
