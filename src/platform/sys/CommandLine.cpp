#include "platform/sys/CommandLine.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Exit codes: 2 for a command line the program does not understand, as most tools do; 1 for a
// folder it understood but cannot play.
constexpr int kUsageError = 2;
constexpr int kFolderError = 1;

CommandLine Failure(const std::string& program, const std::string& what, int code) {
    CommandLine result;
    result.action = CommandLine::Action::Fail;
    result.message = program + ": " + what;
    if (code == kUsageError)
        result.message += "\nTry '" + program + " --help' for more information.";
    result.exitCode = code;
    return result;
}

std::string HelpText(const std::string& program) {
    return "Usage: " + program +
           " [--new-instance] [FOLDER | SONG]\n"
           "A MIDI jukebox: plays the .mid, .rmi and .kar files found in FOLDER (and, as set,\n"
           "the folders below it) one after another, shuffled or in list order.\n"
           "Without FOLDER it plays the folder it was started in. Given a SONG, it plays the\n"
           "song's folder and that song first.\n"
           "When Shufflon runs already, it plays FOLDER or SONG there and this start ends;\n"
           "without either, the running window comes to the front.\n"
           "\n"
           "      --new-instance  start another Shufflon even when one runs already\n"
           "  -h, --help          show this help and exit\n"
           "  -v, --version       show the version and exit\n"
           "\n"
           "A right click on the window's background opens its menu: About, and the\n"
           "SoundFont the synthesiser plays with.\n"
           "\n"
           "Exit status: 0 when the window was closed or a running Shufflon took over,\n"
           "1 when FOLDER or SONG cannot be played, 2 for a command line it does not\n"
           "understand.\n";
}

// A song is a file named .mid, .rmi or .kar, in any letter case, as the folder search finds them.
bool IsSongName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return false;
    const char* ext = path.c_str() + dot + 1;
    return strcasecmp(ext, "mid") == 0 || strcasecmp(ext, "rmi") == 0 || strcasecmp(ext, "kar") == 0;
}

// Why the search could not list the folder, which chdir alone does not check; empty when it can.
std::string CheckFolder(const std::string& folder) {
    DIR* listing = opendir(folder.c_str());
    if (!listing)
        return "cannot read the folder '" + folder + "': " + std::strerror(errno);
    closedir(listing);
    return {};
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, const std::string& program,
                             const std::string& version) {
    std::vector<std::string> paths;
    bool newInstance = false;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "-h" || argument == "--help")) {
            return CommandLine{CommandLine::Action::Help, {}, false, HelpText(program), 0};
        } else if (!optionsEnded && (argument == "-v" || argument == "--version")) {
            return CommandLine{CommandLine::Action::Version, {}, false, program + " " + version + "\n", 0};
        } else if (!optionsEnded && argument == "--new-instance") {
            newInstance = true;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            return Failure(program, "unknown option '" + argument + "'", kUsageError);
        } else {
            paths.push_back(argument);
        }
    }
    if (paths.size() > 1)
        return Failure(program, "expected at most one folder or song, got " + std::to_string(paths.size()),
                       kUsageError);
    if (paths.size() == 1 && paths[0].empty())
        return Failure(program, "the folder name is empty", kUsageError);
    CommandLine result;
    if (!paths.empty())
        result.path = paths[0];
    result.newInstance = newInstance;
    return result;
}

StartPlace ResolveStartPlace(const std::string& path) {
    StartPlace place;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        place.error = "cannot open '" + path + "': " + std::strerror(errno);
        return place;
    }
    const bool song = S_ISREG(info.st_mode) && IsSongName(path);
    if (!S_ISDIR(info.st_mode) && !song) {
        place.error = "'" + path + "' is neither a folder nor a MIDI song";
        return place;
    }
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved)) {
        place.error = "cannot open '" + path + "': " + std::strerror(errno);
        return place;
    }
    std::string absolute = resolved;
    std::string folder = absolute;
    if (song) {
        const std::size_t slash = absolute.rfind('/');
        folder = slash == 0 ? "/" : absolute.substr(0, slash);
    }
    if (std::string error = CheckFolder(folder); !error.empty()) {
        place.error = error;
        return place;
    }
    place.folder = folder;
    if (song)
        place.song = absolute;
    return place;
}

std::string EnterStartFolder(const std::string& folder) {
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0)
        return "cannot open '" + folder + "': " + std::strerror(errno);
    if (!S_ISDIR(info.st_mode))
        return "'" + folder + "' is not a folder";
    if (std::string error = CheckFolder(folder); !error.empty())
        return error;
    if (chdir(folder.c_str()) != 0)
        return "cannot enter the folder '" + folder + "': " + std::strerror(errno);
    return {};
}
