#pragma once

#include <cstddef>
#include <string>

// Reads a regular file from its start, in blocks the caller chooses. Opening never waits: a named
// pipe, a folder or a device is refused, as is a file that cannot be opened. A read error ends the
// file early.
class FileReader {
public:
    explicit FileReader(const std::string& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    // The file's length when it was opened; it may change while it is read.
    std::size_t Size() const { return m_size; }
    // Fills the buffer as far as the file reaches; returns how many bytes it holds, fewer than asked
    // only at the end of the file or after an error.
    std::size_t Read(char* buffer, std::size_t size);

private:
    int m_fd = -1;
    std::size_t m_size = 0;
};
