// shufflon_demogen [--karaoke] FOLDER: writes the demo songs, or with --karaoke the karaoke songs
// made for trying the lyrics window, into FOLDER (made if missing), replacing files of the same
// names. The output depends on nothing but this program, so running it again gives the same bytes.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "demogen/Songs.h"

int main(int argc, char** argv) {
    const bool karaoke = argc == 3 && std::string_view(argv[1]) == "--karaoke";
    if (argc != 2 && !karaoke) {
        std::fprintf(stderr, "usage: shufflon_demogen [--karaoke] FOLDER\n");
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[argc - 1];
        std::filesystem::create_directories(folder);
        for (const demogen::SongFile& song : karaoke ? demogen::KaraokeSongs() : demogen::AllSongs()) {
            const std::filesystem::path path = folder / song.fileName;
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(song.bytes.data()),
                      static_cast<std::streamsize>(song.bytes.size()));
            out.close();
            if (!out) {
                std::fprintf(stderr, "shufflon_demogen: cannot write %s\n", path.c_str());
                return 1;
            }
            std::printf("%s\t%zu bytes\n", path.c_str(), song.bytes.size());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "shufflon_demogen: %s\n", error.what());
        return 1;
    }
    return 0;
}
