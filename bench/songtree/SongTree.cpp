#include "SongTree.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace song_tree {

namespace {

void MakeFile(const std::string& path, off_t size) {
    int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0 || ftruncate(fd, size) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
    close(fd);
}

// Names like a real collection's: words, numbers, mixed case, extensions in either case.
std::string Words(std::mt19937& random, int count) {
    static const char* const kWords[] = {
        "Blue",   "night",  "Moon",  "river",   "Dance",    "of",     "the",    "Song",   "Waltz",  "rain",
        "Summer", "love",   "March", "Prelude", "in",       "Minor",  "old",    "Town",   "star",   "Fugue",
        "sweet",  "Home",   "wind",  "Road",    "Heart",    "golden", "Sky",    "dream",  "Fire",   "green",
        "Valley", "my",     "Lady",  "Rondo",   "and",      "Major",  "winter", "Girl",   "boogie", "Ocean",
        "silver", "Train",  "on",    "Spring",  "Nocturne", "a",      "Rock",   "little", "Bells",  "morning",
        "Blues",  "far",    "Away",  "King",    "Sonata",   "your",   "Light",  "Opus",   "happy",  "Tango",
        "lonely", "Island", "Story", "again"};
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i)
            text += ' ';
        text += kWords[random() % std::size(kWords)];
    }
    return text;
}

} // namespace

std::vector<std::string> Make(const std::string& root) {
    std::mt19937 random(4242);
    std::vector<std::string> albums;
    for (int a = 0; a < kArtists; ++a) {
        std::string artist = root + "/" + Words(random, 2) + " " + std::to_string(a);
        mkdir(artist.c_str(), 0755);
        MakeFile(artist + "/artist.txt", 300);
        for (int b = 0; b < kAlbumsPerArtist; ++b) {
            std::string album = artist + "/" + std::to_string(1970 + b % 50) + " - " + Words(random, 3);
            mkdir(album.c_str(), 0755);
            albums.push_back(album);
        }
    }
    static const char* const kSongExt[] = {".mid", ".mid", ".mid", ".MID", ".kar", ".rmi"};
    std::vector<std::string> songs;
    songs.reserve(kSongs);
    for (int s = 0; s < kSongs; ++s) {
        const std::string& album = albums[static_cast<std::size_t>(s) % albums.size()];
        // Mostly titles of two to four words, so that few names repeat; one in fifty is a short
        // title that many folders share, as collections hold the same song more than once.
        int track = s / static_cast<int>(albums.size()) + 1;
        std::string title =
            random() % 50 == 0 ? Words(random, 1) : Words(random, 2 + static_cast<int>(random() % 3));
        std::string name =
            (track < 10 ? "0" : "") + std::to_string(track) + " - " + title + kSongExt[random() % 6];
        songs.push_back(album + "/" + name);
        MakeFile(songs.back(), static_cast<off_t>(2000 + random() % 200000));
    }
    static const char* const kOthers[] = {"cover.jpg", "folder.jpg", "notes.txt",  "playlist.m3u",
                                          "info.nfo",  "back.png",   "lyrics.doc", "sample.wav"};
    for (const std::string& album : albums) {
        for (int o = 0; o < kOthersPerAlbum; ++o)
            MakeFile(album + "/" + kOthers[o], static_cast<off_t>(random() % 500000));
    }
    return songs;
}

bool WriteTagFile(const std::string& path, const std::vector<std::string>& songs) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::size_t written = 0, wanted = 0;
    for (std::size_t i = 0; i < songs.size(); ++i) {
        const std::string& song = songs[i];
        if (song.size() > 255)
            continue;
        std::array<unsigned char, 260> record{};
        std::uint32_t flag = i % 3 == 0 ? 1 : 0;
        for (int b = 0; b < 4; ++b)
            record[static_cast<std::size_t>(b)] = static_cast<unsigned char>(flag >> (8 * b));
        song.copy(reinterpret_cast<char*>(record.data() + 4), song.size());
        wanted += record.size();
        written += std::fwrite(record.data(), 1, record.size(), file);
    }
    return std::fclose(file) == 0 && written == wanted;
}

} // namespace song_tree
