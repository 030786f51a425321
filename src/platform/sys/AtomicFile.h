#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

// Replaces a file's contents in one step: the data goes to a temporary file in the same folder,
// is flushed to disk and then renamed over the old file, so readers see the old or the new file,
// never a mix, also after a power loss. The folder is created when missing. When anything fails,
// the old file stays as it was and the temporary one is removed; one left by a crash is removed by
// a later write of the same file. A file that may not be written (read-only, or no write
// permission at all) is not replaced.
//
// The data may come in parts, for a file too large to build in memory first:
//     AtomicFileWriter file(path);
//     file.Write(part); ...
//     bool ok = file.Commit();
// A writer destroyed without Commit leaves the old file alone.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // False once any part failed; later parts are then dropped.
    bool Write(std::string_view data);
    // Flushes the new file and renames it over the old one; true when the new contents are in place.
    bool Commit();

private:
    std::string m_target;
    std::string m_folder;
    std::string m_temporary;
    int m_fd = -1;
    bool m_ok = false;
    bool m_replacing = false;
    mode_t m_mode = 0;
    uid_t m_owner = 0;
    gid_t m_group = 0;
};

bool WriteFileAtomically(const std::string& path, std::string_view data);
