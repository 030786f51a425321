// Makes the benchmarks' song collection in an empty folder, for the scripts that measure the real
// program in it.
//
// Usage: make_song_tree FOLDER [--tags]   (--tags also writes FOLDER/MIDITags.SHF, a record a song)

#include "SongTree.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_song_tree FOLDER [--tags]\n");
        return 1;
    }
    std::string root = argv[1];
    bool tags = argc > 2 && std::string(argv[2]) == "--tags";
    std::vector<std::string> songs = song_tree::Make(root);
    if (tags && !song_tree::WriteTagFile(root + "/MIDITags.SHF", songs)) {
        std::perror("MIDITags.SHF");
        return 1;
    }
    std::printf("%zu songs, %d other files, %d folders%s\n", songs.size(), song_tree::kOtherFiles,
                song_tree::kFolders, tags ? ", a tag record per song" : "");
    return 0;
}
