#pragma once

#include <string>
#include <vector>

// The program's command line: at most one folder or song to play, --new-instance, or --help, or
// --version. It is read before any window exists, so that a mistake is told on standard error and
// the program ends at once instead of searching some other folder.
struct CommandLine {
    enum class Action { Run, Help, Version, Fail };

    Action action = Action::Run;
    std::string path;         // Run: a folder or a song; empty for the current directory
    bool newInstance = false; // Run: start another program even when one runs already
    std::string message;      // Help, Version: what to print; Fail: the error, for standard error
    int exitCode = 0;         // the process's exit code for everything but Run
};

// Reads the arguments after the program's name. `program` is the name used in the messages and
// `version` the one --version prints.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments, const std::string& program,
                             const std::string& version);

// What a path on the command line asks for: the folder to search and, for a song, the song to
// play first; both absolute, with symbolic links resolved. `error` says why the path cannot be
// played (missing, neither a folder nor a MIDI file, not readable); the rest is empty then.
struct StartPlace {
    std::string folder;
    std::string song;
    std::string error;
};
StartPlace ResolveStartPlace(const std::string& path);

// Makes `folder` the current directory, exactly as if the program had been started there. Returns
// an empty string, or the reason why it cannot be (not a folder, missing, not readable).
std::string EnterStartFolder(const std::string& folder);
