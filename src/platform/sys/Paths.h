#pragma once

#include <string>

// Where the program's files live on a Linux desktop.

// The executable's file name without its folder, e.g. "shufflon".
std::string ExecutableName();

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::string ConfigFolder();

// The profile: the executable's name with ".INI", in the configuration folder.
std::string ProfilePath();

// The user's home folder ($HOME, else the password database's entry).
std::string HomeFolder();

// The process's current directory, as the bytes the system gives.
std::string CurrentDirectory();
