#pragma once

#include <optional>
#include <string>

// What the user asked the running program to open from outside its window: a folder to play, a
// song to play first, or nothing but the window brought to the front (an empty path). A start of
// the program with a song on its command line asks it of itself; a later start asks the one that
// runs already. Requests are taken in the order they came, on the GUI thread.
void RequestOpen(const std::string& path);
std::optional<std::string> TakeOpenRequest();
