#include "settings/SettingsDefaults.h"

#include "platform/sys/Paths.h"

namespace {

std::string InHome(const char* name) {
    std::string home = HomeFolder();
    return home + (home.ends_with('/') ? "" : "/") + name;
}

} // namespace

std::string DefaultSaveFolder() {
    return InHome("BESTMIDI");
}

std::string DefaultDeleteFolder() {
    return InHome("BADMIDI");
}
