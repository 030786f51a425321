#pragma once

#include <string>
#include <vector>

// The program's command line: at most one folder to play, or --help, or --version. It is read
// before any window exists, so that a mistake is told on standard error and the program ends at
// once instead of searching some other folder.
struct CommandLine {
    enum class Action { Run, Help, Version, Fail };

    Action action = Action::Run;
    std::string folder;  // Run: the folder to start in; empty for the current directory
    std::string message; // Help, Version: what to print; Fail: the error, for standard error
    int exitCode = 0;    // the process's exit code for everything but Run
};

// Reads the arguments after the program's name. `program` is the name used in the messages and
// `version` the one --version prints.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments, const std::string& program,
                             const std::string& version);

// Makes `folder` the current directory, exactly as if the program had been started there. Returns
// an empty string, or the reason why it cannot be (not a folder, missing, not readable).
std::string EnterStartFolder(const std::string& folder);
