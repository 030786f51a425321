#pragma once

#include <string>

// The folders that "Save song" and "Delete song" use until the user picks others: BESTMIDI and
// BADMIDI in the user's home folder, as absolute paths.
std::string DefaultSaveFolder();
std::string DefaultDeleteFolder();
