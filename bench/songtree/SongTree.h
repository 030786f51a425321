#pragma once

#include <string>
#include <vector>

// The collection the search and start-up benchmarks run on: 100,000 songs in 5,000 folders (50
// artists of 99 albums each), eight other files in every album and one in every artist's folder,
// with names like a real collection's. The same tree every time: the names come from a fixed seed.
namespace song_tree {

inline constexpr int kArtists = 50;
inline constexpr int kAlbumsPerArtist = 99;
inline constexpr int kSongs = 100000;
inline constexpr int kOthersPerAlbum = 8;
inline constexpr int kFolders = kArtists + kArtists * kAlbumsPerArtist;
inline constexpr int kOtherFiles = kArtists + kArtists * kAlbumsPerArtist * kOthersPerAlbum;

// Makes the tree in `root`, an existing empty folder, and returns the songs' full paths in the
// order they were made. Exits the process when a file cannot be made.
std::vector<std::string> Make(const std::string& root);

// Writes a tag list file of one 260-byte record per song (the played flag, 4 bytes little-endian,
// then the full path in 256 bytes ending in a zero byte), every third song marked played. Songs
// whose path does not fit a record are left out. False when the file cannot be written.
bool WriteTagFile(const std::string& path, const std::vector<std::string>& songs);

} // namespace song_tree
