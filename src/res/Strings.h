#pragma once

#include <string>

// The string table: the text of a string resource, empty when there is none.
std::string LoadString(int id);
