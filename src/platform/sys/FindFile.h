#pragma once

#include "platform/WinTypes.h"

#include <cstdint>
#include <string>

// Directory enumeration in the shape of the kernel's FindFirstFile / FindNextFile / FindClose,
// and the drive list, over POSIX directories.
//
// A pattern whose last component is "*" or "*.*" lists the folder before it ("dir/*.*" lists
// "dir", "*.*" the current directory); the program uses no other wildcard. Any other text names
// one entry, which is looked up by that path ("dir/song.mid", "/", "dir/"). A name on Linux may
// itself contain '*' or '\\'; only '/' separates.
//
// Each entry is reported by what it leads to: symbolic links are followed, so a link to a folder
// is a folder and a link to a file has the file's size. Entries that are neither regular files
// nor directories (pipes, sockets, devices) are left out, because opening a pipe named like a
// song would block the player; so are dangling links and entries that vanish while they are
// read. The entries "." and ".." are not reported. The order is the file system's.

inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

// PATH_MAX on Linux, terminating zero included: the system refuses longer paths.
inline constexpr std::size_t kMaxPathBytes = 4096;

// One entry of a listing.
struct WIN32_FIND_DATA {
    DWORD dwFileAttributes = 0; // FILE_ATTRIBUTE_DIRECTORY or FILE_ATTRIBUTE_NORMAL
    DWORD nFileSizeHigh = 0;    // bits 32 to 63 of the size
    DWORD nFileSizeLow = 0;     // the low 32 bits of the size
    // The file's identity (st_dev, st_ino): two entries with equal values are the same file or
    // folder, whatever links led to them.
    std::uint64_t nDevice = 0;
    std::uint64_t nInode = 0;
    std::string cFileName; // the bytes the file system gave, not necessarily UTF-8
};

// An open search; null is the failed search.
struct FindFileSearch;
using HFIND = FindFileSearch*;

// Starts a search and fills `data` with its first entry. Returns null (and leaves `data` as it
// was) when the folder cannot be listed, the entry does not exist, or nothing is to be reported.
HFIND FindFirstFile(const std::string& pattern, WIN32_FIND_DATA* data);

// Fills `data` with the next entry; FALSE when there is none.
BOOL FindNextFile(HFIND search, WIN32_FIND_DATA* data);

// Ends a search; accepts null.
BOOL FindClose(HFIND search);

// The drive roots, each ended by a zero byte, the list ended by an empty string. Linux has one
// root, "/", so a large enough buffer receives "/\0\0" and the result is 2, the length without
// the final zero. A buffer of fewer than 3 bytes is left alone and the result is the size needed.
DWORD GetLogicalDriveStrings(DWORD bufferLength, char* buffer);
