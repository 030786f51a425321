// midiinfo FILE...: one tab-separated line per file, for checking what the player's reader makes of
// a collection of songs:
//   path  format  tracks  division  length-ms  events
//   path  ERROR   mci-code  text
// With -v, what the reader had to tolerate in each file follows on stderr. The exit status is 0
// whenever every file was handled, whatever the files contain.

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/midi/MciReadError.h"
#include "platform/midi/MidiFile.h"

namespace {

std::string DivisionText(const midi::Song& song) {
    if (!song.smpte)
        return "ppq=" + std::to_string(song.ticksPerQuarter);
    return "smpte=" + std::to_string(song.smpteFramesPerSecond) + "x" + std::to_string(song.ticksPerFrame);
}

void Describe(const std::string& path, bool verbose) {
    const midi::Result<midi::Song> result = midi::ReadMidiFile(path);
    if (!result.ok()) {
        std::printf("%s\tERROR\t%u\t%s\n", path.c_str(),
                    static_cast<unsigned>(midi::MciErrorForReadError(result.error().kind)),
                    midi::DescribeReadError(result.error()).c_str());
        return;
    }
    const midi::Song& song = result.value();
    std::printf("%s\t%d\t%d\t%s\t%llu\t%zu\n", path.c_str(), song.format, song.tracksRead,
                DivisionText(song).c_str(), static_cast<unsigned long long>(song.lengthMicros / 1000),
                song.events.size());
    if (verbose) {
        for (const midi::ReadError& repair : song.repairs)
            std::fprintf(stderr, "%s: byte %zu: %s\n", path.c_str(), repair.offset, repair.detail.c_str());
    }
}

} // namespace

int main(int argc, char** argv) {
    bool verbose = false;
    int first = 1;
    if (argc > 1 && std::string_view(argv[1]) == "-v") {
        verbose = true;
        first = 2;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: midiinfo [-v] FILE...\n");
        return 2;
    }
    for (int i = first; i < argc; ++i)
        Describe(argv[i], verbose);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
