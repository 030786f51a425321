#pragma once

#include <string>

// Replaces a file's contents in one step: the data goes to a temporary file in the same folder,
// is flushed to disk and then renamed over the old file, so readers see the old or the new file,
// never a mix. The folder is created when missing. Returns false and leaves the old file as it
// was when anything fails.
bool WriteFileAtomically(const std::string& path, const std::string& data);
