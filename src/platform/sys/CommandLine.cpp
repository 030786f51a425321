#include "platform/sys/CommandLine.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
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
           " [FOLDER]\n"
           "A MIDI jukebox: plays the .mid, .rmi and .kar files found in FOLDER (and, as set,\n"
           "the folders below it) one after another, shuffled or in list order.\n"
           "Without FOLDER it plays the folder it was started in.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "  -v, --version  show the version and exit\n"
           "\n"
           "Exit status: 0 when the window was closed, 1 when FOLDER cannot be played,\n"
           "2 for a command line it does not understand.\n";
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, const std::string& program,
                             const std::string& version) {
    std::vector<std::string> folders;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "-h" || argument == "--help")) {
            return CommandLine{CommandLine::Action::Help, {}, HelpText(program), 0};
        } else if (!optionsEnded && (argument == "-v" || argument == "--version")) {
            return CommandLine{CommandLine::Action::Version, {}, program + " " + version + "\n", 0};
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            return Failure(program, "unknown option '" + argument + "'", kUsageError);
        } else {
            folders.push_back(argument);
        }
    }
    if (folders.size() > 1)
        return Failure(program, "expected at most one folder, got " + std::to_string(folders.size()),
                       kUsageError);
    if (folders.size() == 1 && folders[0].empty())
        return Failure(program, "the folder name is empty", kUsageError);
    CommandLine result;
    if (!folders.empty())
        result.folder = folders[0];
    return result;
}

std::string EnterStartFolder(const std::string& folder) {
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0)
        return "cannot open '" + folder + "': " + std::strerror(errno);
    if (!S_ISDIR(info.st_mode))
        return "'" + folder + "' is not a folder";
    // The search must be able to list the folder, which chdir alone does not check.
    DIR* listing = opendir(folder.c_str());
    if (!listing)
        return "cannot read the folder '" + folder + "': " + std::strerror(errno);
    closedir(listing);
    if (chdir(folder.c_str()) != 0)
        return "cannot enter the folder '" + folder + "': " + std::strerror(errno);
    return {};
}
