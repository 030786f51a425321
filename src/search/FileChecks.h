#pragma once

#include <string>

// Looks up paths the way the search and the sound-card initialisation need it.

// True when the text names a folder that can be searched: a drive root ("/"), or an existing
// directory (symbolic links followed). An empty text is not a folder.
bool IsValidFolder(const std::string& path);

// True when the path is not empty and names an existing file that is not a directory.
bool FileExists(const std::string& path);
