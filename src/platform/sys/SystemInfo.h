#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the About box tells about the machine: its memory and the space left on a file system.

// The machine's installed memory in bytes (not what is free).
std::uint64_t TotalPhysicalMemory();

struct DiskSpace {
    std::uint64_t freeBytes; // what an ordinary user may still write, not the root's reserve
    std::string mountPoint;  // the root of the file system that holds the path
};

// The space on the file system that holds `path`; nullopt when it cannot be read, for instance
// because the path no longer exists.
std::optional<DiskSpace> FreeDiskSpace(const std::string& path);
